#include <QApplication>

#include "errordefine.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ErrorDefine::registerMetaTypes();
    // The update flow arrives with the updater's own change; until then there is nothing to do.
    return 0;
}

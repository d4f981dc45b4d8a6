#include <QApplication>
#include <QStringList>

#include "errordefine.h"
#include "namedmutex.h"
#include "packagetrust.h"
#include "updaterlayout.h"
#include "updatewindow.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ErrorDefine::registerMetaTypes();
    PackageTrust::installBuiltInKeys(LUNMERE_PUBLISHER_KEYS);

    const QStringList arguments = QCoreApplication::arguments();
    const QString instanceName = arguments.size() > 1 ? arguments.at(1) : QString();
    // Held for the program's whole life: a launcher started meanwhile (other than by this
    // updater, with "update") sees it and stays away from the files being replaced.
    platform::NamedMutex mutex(UpdaterLayout::mutexName(instanceName).toStdString());

    auto *window = new UpdateWindow(arguments);
    window->initUpdate();

    const int result = app.exec();
    delete window;
    return result != 0 ? 1 : 0;
}

#include <QApplication>

#include "mainviewmodel.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    MainViewModel model;
    return 0;
}

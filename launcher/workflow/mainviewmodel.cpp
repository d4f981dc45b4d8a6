#include "mainviewmodel.h"

MainViewModel::MainViewModel(QObject *parent)
    : QObject(parent)
{
}

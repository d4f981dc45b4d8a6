#include "dialogwatcher.h"

#include <QApplication>
#include <QDialog>

DialogWatcher::DialogWatcher(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &DialogWatcher::poll);
    m_timer.start(20);
}

void DialogWatcher::poll()
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    m_classNames << QString::fromLatin1(dialog->metaObject()->className());
    m_accept ? dialog->accept() : dialog->reject();
}

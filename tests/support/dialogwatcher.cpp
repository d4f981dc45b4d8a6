#include "dialogwatcher.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTextEdit>

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
    QStringList shown;
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        shown << label->text();
    for (const QTextEdit *view : dialog->findChildren<QTextEdit *>())
        shown << view->toPlainText();
    m_texts << shown.join(QLatin1Char('\n'));
    m_accept ? dialog->accept() : dialog->reject();
}

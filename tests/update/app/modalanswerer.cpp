#include "modalanswerer.h"

#include <QApplication>
#include <QPushButton>

#include "dlgyesno.h"

ModalAnswerer::ModalAnswerer(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

void ModalAnswerer::poll()
{
    auto *box = qobject_cast<DlgYesNo *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    m_texts << box->text();
    m_titles << box->windowTitle();
    auto *cancel = box->findChild<QPushButton *>(QStringLiteral("btnCancel"));
    m_cancelShown << (cancel && cancel->isVisible());
    const Answer answer = m_answers.isEmpty() ? Confirm : m_answers.dequeue();
    const QString name = answer == Confirm ? QStringLiteral("btnOk") : QStringLiteral("btnCancel");
    if (auto *button = box->findChild<QPushButton *>(name))
        button->click();
}

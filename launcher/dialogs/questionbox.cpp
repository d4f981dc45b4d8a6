#include "questionbox.h"

#include <QDialog>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <QWindow>

#include "cdlgyesno.h"

UserAsker QuestionBox::over(QObject *window)
{
    QPointer<QObject> guarded(window);
    return [guarded](const UserQuestion &question) {
        return ask(question, guarded);
    };
}

bool QuestionBox::ask(const UserQuestion &question, QObject *window)
{
    CDlgYesNo box;
    box.hideCancelButton(!question.withCancel);
    box.resize(460, 300);
    box.showCloseButton(false);
    box.setMessage(question.title, question.text);
    if (!question.confirmText.isEmpty())
        box.setConfirmText(question.confirmText);
    if (question.placement != UserQuestion::Placement::Free)
        box.placeOver(areaOf(window));
    QPointer<QObject> mask = question.placement == UserQuestion::Placement::OverDimmedPage && window
                                 ? window->findChild<QObject *>(QStringLiteral("bgMask_msgbox"))
                                 : nullptr;
    if (mask)
        mask->setProperty("visible", true);
    const bool accepted = box.exec() == QDialog::Accepted;
    // Another box still open keeps the page dimmed.
    if (mask && CDlgYesNo::openCount() == 0)
        mask->setProperty("visible", false);
    return accepted;
}

QRect QuestionBox::areaOf(const QObject *window)
{
    if (auto *quick = qobject_cast<const QWindow *>(window))
        return quick->geometry();
    if (auto *widget = qobject_cast<const QWidget *>(window))
        return widget->frameGeometry();
    return QRect();
}

#pragma once

#include <QObject>
#include <QString>

#include <functional>

class PageItems;
class QDialog;

// The launcher's modal dialogs over its page: the shared message box, which keeps what to do
// with the answer, and the dialogs centred over the page, which dims behind each of them.
class PageDialogs : public QObject
{
    Q_OBJECT
public:
    using Action = std::function<void(bool)>;

    // Hidden about gesture: true when this click completes ten clicks within five seconds.
    static bool registerAboutClick(qint64 nowMs);

    // page is not owned and must outlive the dialogs.
    explicit PageDialogs(PageItems *page, QObject *parent = nullptr);

    // Asks in the message box; action (may be empty) gets the answer. Returns the box's
    // result (1 accepted, 0 otherwise).
    int ask(const QString &title, const QString &text, bool withCancel, Action action = {});
    // An answer from elsewhere (the page's own box) to the last question that had an action.
    void answer(bool value);
    void clearPending() { m_pending = nullptr; }

    int runCentred(QDialog *dialog);
    void showAbout(const QString &gameVersion);
    // The close choice the player made (1: to the notification area).
    int askCloseChoice();
    // This launcher is older than the game's publisher allows: says so and, when canUpdate,
    // that the next step is the download page.
    void tellLauncherTooOld(bool canUpdate);

private:
    PageItems *m_page = nullptr;
    Action m_pending;
};

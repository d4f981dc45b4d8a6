#include "pagedialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QRect>

#include "appenvironment.h"
#include "cdlgappinfo.h"
#include "cdlgclosetip.h"
#include "cdlgyesno.h"
#include "pageitems.h"

// The texts keep the view model's translation context (QCoreApplication::translate), where
// the translation files have them.

bool PageDialogs::registerAboutClick(qint64 nowMs)
{
    static int clicks = 0;
    static qint64 windowStart = -1;
    if (windowStart < 0)
        windowStart = nowMs;
    ++clicks;
    if (nowMs - windowStart > 5000) {
        windowStart = nowMs;
        clicks = 0;
    }
    if (nowMs - windowStart < 5000 && clicks >= 10) {
        clicks = 0;
        return true;
    }
    return false;
}

PageDialogs::PageDialogs(PageItems *page, QObject *parent)
    : QObject(parent)
    , m_page(page)
{}

int PageDialogs::ask(const QString &title, const QString &text, bool withCancel, Action action)
{
    m_pending = action;
    const QRect area = m_page->area();
    m_page->setMaskVisible(true);
    const int result = CDlgYesNo::ask(title, text, withCancel, nullptr, area);
    // A flow started while the box was open may have stored its own action; this answer
    // belongs to the action given here.
    if (action)
        action(result == 1);
    if (CDlgYesNo::openCount() == 0)
        m_page->setMaskVisible(false);
    return result;
}

void PageDialogs::answer(bool value)
{
    if (m_pending)
        m_pending(value);
}

int PageDialogs::runCentred(QDialog *dialog)
{
    const QRect area = m_page->area();
    if (area.isValid())
        dialog->move(area.x() + (area.width() - dialog->width()) / 2,
                     area.y() + (area.height() - dialog->height()) / 2);
    m_page->setMaskVisible(true);
    const int result = dialog->exec();
    if (CDlgYesNo::openCount() == 0)
        m_page->setMaskVisible(false);
    return result;
}

void PageDialogs::showAbout(const QString &gameVersion)
{
    CDlgAppInfo about;
    about.setInfo(gameVersion, AppEnvironment::launcherIdText(),
                  QLatin1String(AppEnvironment::kLauncherVersion));
    runCentred(&about);
}

int PageDialogs::askCloseChoice()
{
    CDlgCloseTip choice;
    runCentred(&choice);
    return choice.exitChoice();
}

void PageDialogs::tellLauncherTooOld(bool canUpdate)
{
    CDlgYesNo notice;
    notice.resize(460, 300);
    notice.setMessage(
        QString(),
        canUpdate ? QCoreApplication::translate("MainViewModel", "message_need_update_launcher")
                  : QCoreApplication::translate("MainViewModel", "message_launcher_version_old"));
    notice.showCloseButton(false);
    notice.hideCancelButton(true);
    notice.setConfirmText(QCoreApplication::translate("MainViewModel", "button_confirm"));
    const QRect area = m_page->area();
    if (area.isValid())
        notice.move(area.x() + (area.width() - notice.width()) / 2,
                    area.y() + (area.height() - notice.height()) / 2);
    m_page->setMaskVisible(true);
    notice.exec();
}

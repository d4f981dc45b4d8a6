#include "runninggameguard.h"

#include <QCoreApplication>
#include <QTimer>

#include "pagedialogs.h"
#include "processes.h"

// The box's texts keep the view model's translation context (QCoreApplication::translate),
// where the translation files have them.

RunningGameGuard::RunningGameGuard(PageDialogs *dialogs, EntryOf entry, QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
    , m_entry(std::move(entry))
{}

bool RunningGameGuard::isGameRunning() const
{
    // By path: a program of the same name elsewhere is none of the launcher's business.
    const GameEntry entry = m_entry();
    return entry.isValid() &&
           !platform::findProcessesByExecutable(entry.executablePath().toStdString()).empty();
}

void RunningGameGuard::runWhenClosed(std::function<void(bool)> proceed)
{
    if (!isGameRunning()) {
        proceed(true);
        return;
    }
    m_dialogs->ask(
        QCoreApplication::translate("MainViewModel", "title_warning"),
        QCoreApplication::translate("MainViewModel", "message_game_is_running_please_close"), true,
        [this, proceed](bool confirmed) {
            if (!confirmed) {
                proceed(false);
                return;
            }
            const GameEntry entry = m_entry();
            if (entry.isValid())
                platform::killProcessesByExecutable(entry.executablePath().toStdString());
            QTimer::singleShot(500, this, [this, proceed] { runWhenClosed(proceed); });
        });
}

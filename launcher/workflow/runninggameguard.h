#pragma once

#include <QObject>

#include <functional>

#include "gameentry.h"

class PageDialogs;

// Keeps the game's files unwritten while the game runs: asks the player to close it, ends it
// on yes and looks again half a second later.
class RunningGameGuard : public QObject
{
    Q_OBJECT
public:
    // The game's entry as the manifest and the install folder give it now.
    using EntryOf = std::function<GameEntry()>;

    // dialogs is not owned and must outlive the guard.
    RunningGameGuard(PageDialogs *dialogs, EntryOf entry, QObject *parent = nullptr);

    bool isGameRunning() const;
    // Runs `proceed(true)` once the game no longer runs, `proceed(false)` when the player keeps
    // it running.
    void runWhenClosed(std::function<void(bool)> proceed);

private:
    PageDialogs *m_dialogs = nullptr;
    EntryOf m_entry;
};

#include "gameexitwatcher.h"

#include <QFile>

#include "processes.h"

GameExitWatcher::GameExitWatcher(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(kPollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &GameExitWatcher::poll);
}

void GameExitWatcher::watch(const QString &executablePath)
{
    m_executable = executablePath;
    m_seenRunning = false;
    m_pollsWithoutGame = 0;
    m_timer.start();
}

void GameExitWatcher::stop()
{
    m_timer.stop();
}

void GameExitWatcher::poll()
{
    const bool running =
        !platform::findProcessesByExecutable(QFile::encodeName(m_executable).toStdString()).empty();
    if (running) {
        m_seenRunning = true;
        return;
    }
    // A game that never appeared has nothing to come back from.
    if (!m_seenRunning && ++m_pollsWithoutGame < kPollsToAppear)
        return;
    m_timer.stop();
    if (m_seenRunning)
        emit gameExited();
}

#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Tells when a started game has ended: the game runs detached from the launcher, so its
// processes are looked up by their executable now and then until none is left.
class GameExitWatcher : public QObject
{
    Q_OBJECT
public:
    explicit GameExitWatcher(QObject *parent = nullptr);

    // Starts watching the game installed at executablePath (absolute); a watch already
    // running is replaced.
    void watch(const QString &executablePath);
    void stop();
    bool isWatching() const { return m_timer.isActive(); }
    void setPollInterval(int ms) { m_timer.setInterval(ms); }

    static constexpr int kPollIntervalMs = 2000;
    // A game that has not shown up this many polls after its start never ran.
    static constexpr int kPollsToAppear = 5;

signals:
    void gameExited();

private:
    void poll();

    QTimer m_timer;
    QString m_executable;
    bool m_seenRunning = false;
    int m_pollsWithoutGame = 0;
};

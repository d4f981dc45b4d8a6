#pragma once

#include <QString>

// The game's program as the resource service names it, confined to the game folder. The
// address of what the launcher starts, watches and ends is only ever taken from here, so a
// hostile or careless answer cannot make it start or kill a program elsewhere.
class GameEntry
{
public:
    // entry: the manifest's `entry`, relative to the folder; empty means the default program.
    static GameEntry resolve(const QString &folder, const QString &entry);

    bool isValid() const { return m_refusal.isNull(); }
    // The absolute path of the game's program inside the folder; empty when refused.
    QString executablePath() const { return m_path; }
    // The entry as the answer gave it, for the player's message when refused.
    QString entry() const { return m_entry; }
    // Why it was refused, for the log; null when valid.
    QString refusal() const { return m_refusal; }

private:
    // Only resolve() makes one, so no caller can build a path it did not check.
    GameEntry() = default;

    QString m_path;
    QString m_entry;
    QString m_refusal;
};

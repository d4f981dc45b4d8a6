#pragma once

#include <QString>

class QTextStream;

// An exclusive lock on a site folder, held from before a run reads the site until it has put
// the new one in place: a second run on the same site waits for the first, and then starts from
// what the first published. The lock is a file beside the site (.<name>.lock), locked with
// flock, so a run that dies releases it with its process.
class SiteLock
{
public:
    SiteLock() = default;
    ~SiteLock();
    SiteLock(const SiteLock &) = delete;
    SiteLock &operator=(const SiteLock &) = delete;

    // How long a run waits for another one before it gives up (default ten minutes).
    static void setWaitSeconds(int seconds);
    static QString lockPathFor(const QString &site);

    // site is the folder's resolved absolute path; its parent must exist.
    bool acquire(const QString &site, QString *error, QTextStream *log = nullptr);

private:
    int m_fd = -1;
};

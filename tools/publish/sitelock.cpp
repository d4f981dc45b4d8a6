#include "sitelock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>

#include "interruption.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

int g_waitSeconds = 600;

} // namespace

SiteLock::~SiteLock()
{
#ifdef Q_OS_UNIX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void SiteLock::setWaitSeconds(int seconds)
{
    g_waitSeconds = seconds;
}

QString SiteLock::lockPathFor(const QString &site)
{
    const QFileInfo info(site);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

bool SiteLock::acquire(const QString &site, QString *error, QTextStream *log)
{
#ifdef Q_OS_UNIX
    const QString path = lockPathFor(site);
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd < 0) {
        *error = QStringLiteral("%1: cannot open the site's lock file: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    bool told = false;
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            *error = QStringLiteral("%1: cannot lock: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (Interruption::requested()) {
            *error = Interruption::message();
            return false;
        }
        if (waited.elapsed() >= qint64(g_waitSeconds) * 1000) {
            *error = QStringLiteral("%1: another run has been publishing into this site for "
                                    "%2 s (lock %3); try again later or raise --lock-wait")
                         .arg(site)
                         .arg(waited.elapsed() / 1000)
                         .arg(path);
            return false;
        }
        if (!told && log) {
            *log << "waiting for another run on " << site << " (lock " << path << ")" << Qt::endl;
            told = true;
        }
        QThread::msleep(100);
    }
    return true;
#else
    Q_UNUSED(site)
    Q_UNUSED(error)
    Q_UNUSED(log)
    return true;
#endif
}

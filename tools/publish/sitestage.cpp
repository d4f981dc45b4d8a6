#include "sitestage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include "interruption.h"
#include "sitelock.h"

#include <filesystem>
#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#include <stdio.h>
#endif

namespace {

bool linkOrCopy(const QString &from, const QString &to)
{
    std::error_code ec;
    std::filesystem::create_hard_link(QFile::encodeName(from).toStdString(),
                                      QFile::encodeName(to).toStdString(), ec);
    return !ec || QFile::copy(from, to);
}

// Swaps the two folders in one step, so a server never finds the site missing; false where the
// system or file system cannot.
bool exchange(const QString &a, const QString &b)
{
#if defined(__linux__) && defined(RENAME_EXCHANGE)
    return renameat2(AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD,
                     QFile::encodeName(b).constData(), RENAME_EXCHANGE) == 0;
#else
    Q_UNUSED(a)
    Q_UNUSED(b)
    return false;
#endif
}

// A free name beside the site for the folder being swapped out.
QString asideName(const QString &site)
{
    for (int i = 0;; ++i) {
        const QString candidate = QStringLiteral("%1.old-%2").arg(site).arg(i);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

SiteStage::SiteStage() = default;

SiteStage::~SiteStage() = default;

bool SiteStage::begin(const QString &site, QString *error, QTextStream *log)
{
    QFileInfo siteInfo(QDir::cleanPath(QFileInfo(site).absoluteFilePath()));
    if (siteInfo.isSymLink()) {
        // Swapping the link for a folder would take the site away from where it is served.
        const QString target = siteInfo.canonicalFilePath();
        if (target.isEmpty() || !QFileInfo(target).isDir()) {
            *error = QStringLiteral("%1: a link to %2, which is not a folder")
                         .arg(siteInfo.absoluteFilePath(), siteInfo.symLinkTarget());
            return false;
        }
        siteInfo = QFileInfo(target);
    }
    m_site = siteInfo.absoluteFilePath();
    if (siteInfo.exists() && !siteInfo.isDir()) {
        *error = QStringLiteral("%1: exists and is not a folder").arg(m_site);
        return false;
    }
    const QString parent = siteInfo.absolutePath();
    if (!QDir().mkpath(parent)) {
        *error = QStringLiteral("%1: cannot create the folder").arg(parent);
        return false;
    }
    m_lock.reset(new SiteLock);
    if (!m_lock->acquire(m_site, error, log))
        return false;
    // Beside the site, on the same file system, so that the final renames cannot fail on
    // crossing devices.
    m_stage.reset(new QTemporaryDir(parent + QLatin1Char('/') + QLatin1Char('.') +
                                    siteInfo.fileName() + QStringLiteral(".staging-XXXXXX")));
    if (!m_stage->isValid()) {
        *error = QStringLiteral("%1: cannot create a staging folder: %2")
                     .arg(parent, m_stage->errorString());
        return false;
    }
    if (!siteInfo.exists())
        return true;
    QDirIterator it(m_site, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = m_stage->filePath(from.mid(m_site.size() + 1));
        const bool ok = it.fileInfo().isDir() && !it.fileInfo().isSymLink() ? QDir().mkpath(to)
                                                                            : linkOrCopy(from, to);
        if (!ok) {
            *error = QStringLiteral("%1: cannot take it into the staging folder").arg(from);
            return false;
        }
    }
    return true;
}

QString SiteStage::path() const
{
    return m_stage ? m_stage->path() : QString();
}

QString SiteStage::filePath(const QString &relative) const
{
    return m_stage->filePath(relative);
}

bool SiteStage::writeFile(const QString &relative, const QByteArray &content, QString *error)
{
    const QString target = filePath(relative);
    if (!QDir().mkpath(QFileInfo(target).path())) {
        *error = QStringLiteral("%1: cannot create the folder").arg(QFileInfo(target).path());
        return false;
    }
    // A hard link taken from the live site must be replaced, never written through.
    QFile::remove(target);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        *error = QStringLiteral("%1: cannot write: %2").arg(target, file.errorString());
        return false;
    }
    return true;
}

void SiteStage::remove(const QString &relative)
{
    const QString target = filePath(relative);
    if (QFileInfo(target).isDir())
        QDir(target).removeRecursively();
    else
        QFile::remove(target);
}

bool SiteStage::makeFolder(const QString &relative, QString *error)
{
    if (QDir().mkpath(filePath(relative)))
        return true;
    *error = QStringLiteral("%1: cannot create the folder").arg(filePath(relative));
    return false;
}

bool SiteStage::link(const QString &fromRelative, const QString &toRelative, QString *error)
{
    const QString to = filePath(toRelative);
    if (QDir().mkpath(QFileInfo(to).path()) && linkOrCopy(filePath(fromRelative), to))
        return true;
    *error = QStringLiteral("%1: cannot keep a copy of %2").arg(to, fromRelative);
    return false;
}

bool SiteStage::commit(QString *error)
{
    if (Interruption::requested()) {
        *error = Interruption::message();
        return false;
    }
    const QString stage = m_stage->path();
    // QTemporaryDir makes its folder private; a site is read by a web server.
    QFile::setPermissions(stage, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                     QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                     QFileDevice::ExeOther);
    QString aside;
    if (QFileInfo::exists(m_site) && exchange(stage, m_site)) {
        // The old site now sits under the stage's name.
        m_stage->setAutoRemove(false);
        QDir(stage).removeRecursively();
        m_stage.reset();
    } else if (QFileInfo::exists(m_site)) {
        aside = asideName(m_site);
        if (!QDir().rename(m_site, aside)) {
            *error = QStringLiteral("%1: cannot move the old site aside").arg(m_site);
            return false;
        }
    }
    if (m_stage && !QDir().rename(stage, m_site)) {
        if (!aside.isEmpty())
            QDir().rename(aside, m_site);
        *error = QStringLiteral("%1: cannot put the new site in place").arg(m_site);
        return false;
    }
    if (m_stage) {
        m_stage->setAutoRemove(false);
        m_stage.reset();
    }
    if (!aside.isEmpty())
        QDir(aside).removeRecursively();
    return true;
}

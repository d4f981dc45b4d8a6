#include "replacejournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "confinedentries.h"
#include "fileentries.h"
#include "replacesteps.h"

namespace {
const QByteArray kMagic = "lunmere-replace 1";

QByteArray encoded(const QString &text)
{
    // Names may hold spaces or line breaks; one entry stays one line.
    return QUrl::toPercentEncoding(text, "/");
}

const char *keyword(ReplaceJournal::Origin origin)
{
    switch (origin) {
    case ReplaceJournal::Origin::Saved:
        return "saved";
    case ReplaceJournal::Origin::Added:
        return "added";
    case ReplaceJournal::Origin::Folder:
        return "folder";
    }
    return "";
}
} // namespace

ReplaceJournal::ReplaceJournal(const QString &backupRoot)
    : m_backupRoot(backupRoot)
    , m_path(backupRoot + QStringLiteral(".journal"))
{}

bool ReplaceJournal::exists() const
{
    return platform::entryKind(QFile::encodeName(m_path).toStdString()) !=
           platform::EntryKind::Missing;
}

bool ReplaceJournal::isSafeRelativePath(const QString &relative)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative) || relative.contains(QChar('\\')) ||
        relative.contains(QChar(':')) || relative.contains(QChar(0)))
        return false;
    const QStringList parts = relative.split(QChar('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    return true;
}

bool ReplaceJournal::load()
{
    m_root.clear();
    m_committed = false;
    m_entries.clear();
    m_origins.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    // The last piece is empty when the file ends with a line break, and a torn line when a
    // kill cut the last append short: that step never began.
    if (lines.size() < 3 || lines.at(0) != kMagic || !lines.at(1).startsWith("root "))
        return false;
    m_root = QUrl::fromPercentEncoding(lines.at(1).mid(5));
    for (int i = 2; i < lines.size() - 1; ++i) {
        const QByteArray &line = lines.at(i);
        if (line == "committed") {
            m_committed = true;
            continue;
        }
        const int space = line.indexOf(' ');
        const QByteArray word = line.left(space);
        const QString relative = QUrl::fromPercentEncoding(line.mid(space + 1));
        Origin origin;
        if (word == "saved")
            origin = Origin::Saved;
        else if (word == "added")
            origin = Origin::Added;
        else if (word == "folder")
            origin = Origin::Folder;
        else
            return false;
        if (space <= 0 || !isSafeRelativePath(relative))
            return false;
        if (!m_origins.contains(key(origin, relative))) {
            m_origins.insert(key(origin, relative), origin);
            m_entries.append({origin, relative});
        }
    }
    return !m_root.isEmpty();
}

bool ReplaceJournal::begin(const QString &root)
{
    if (load()) {
        // Entries are relative, so a folder moved since still matches them.
        if (!m_committed) {
            m_root = root;
            return true;
        }
        // A finished replacement whose clean-up was cut short: its backups are not originals
        // of what is installed now.
        if (!platform::removeTree(QFile::encodeName(m_backupRoot).toStdString()))
            return false;
    }
    m_root = root;
    m_committed = false;
    m_entries.clear();
    m_origins.clear();
    const QString fresh = m_path + QStringLiteral(".new");
    QFile file(fresh);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray header = kMagic + "\nroot " + encoded(root) + '\n';
    const bool written = file.write(header) == header.size() && file.flush();
    file.close();
    const std::string freshName = QFile::encodeName(fresh).toStdString();
    const std::string name = QFile::encodeName(m_path).toStdString();
    return written && platform::syncFile(freshName) && ReplaceSteps::faultPoint() &&
           platform::replaceEntry(freshName, name) &&
           platform::syncDirectory(
               QFile::encodeName(QFileInfo(m_path).absolutePath()).toStdString());
}

bool ReplaceJournal::append(const QByteArray &line)
{
    if (!ReplaceSteps::faultPoint())
        return false;
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray text = line + '\n';
    const bool written = file.write(text) == text.size() && file.flush();
    file.close();
    return written && platform::syncFile(QFile::encodeName(m_path).toStdString());
}

bool ReplaceJournal::record(Origin origin, const QString &relative)
{
    return record(QList<QPair<Origin, QString>>{{origin, relative}});
}

bool ReplaceJournal::record(const QList<QPair<Origin, QString>> &entries)
{
    QByteArray lines;
    QList<QPair<Origin, QString>> fresh;
    for (const auto &entry : entries) {
        const QString entryKey = key(entry.first, entry.second);
        if (m_origins.contains(entryKey))
            continue;
        if (!lines.isEmpty())
            lines += '\n';
        lines += QByteArray(keyword(entry.first)) + ' ' + encoded(entry.second);
        m_origins.insert(entryKey, entry.first);
        fresh.append(entry);
    }
    if (fresh.isEmpty())
        return true;
    if (!append(lines)) {
        for (const auto &entry : fresh)
            m_origins.remove(key(entry.first, entry.second));
        return false;
    }
    m_entries += fresh;
    return true;
}

QString ReplaceJournal::key(Origin origin, const QString &relative)
{
    // A link replaced by a folder is recorded twice: saved as a link, then made as a folder.
    return origin == Origin::Folder ? relative + QLatin1Char('/') : relative;
}

bool ReplaceJournal::commit()
{
    if (!append("committed"))
        return false;
    m_committed = true;
    return true;
}

bool ReplaceJournal::remove()
{
    // A header that a kill cut short before it was renamed into place.
    platform::removeEntry(QFile::encodeName(m_path + QStringLiteral(".new")).toStdString());
    const std::string name = QFile::encodeName(m_path).toStdString();
    return platform::removeEntry(name) &&
           platform::syncDirectory(
               QFile::encodeName(QFileInfo(m_path).absolutePath()).toStdString());
}

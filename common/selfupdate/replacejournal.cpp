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
    // Only a journal this program wrote is read: a link there is none of ours.
    if (platform::entryKind(QFile::encodeName(m_path).toStdString()) != platform::EntryKind::File)
        return false;
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
    // Written through the folder's own handle: a link planted where the journal or its new
    // header goes is replaced as an entry, never written through.
    const std::string folder = this->folder();
    const std::string name = fileName();
    const std::string fresh = name + ".new";
    if (!platform::removeEntryBelow(folder, fresh))
        return false;
    const QByteArray header = kMagic + "\nroot " + encoded(root) + '\n';
    platform::NewFileBelow file;
    return file.create(folder, fresh) && file.write(header.constData(), size_t(header.size())) &&
           file.finish(0644) && ReplaceSteps::faultPoint() &&
           platform::replaceEntryBelow(folder, fresh, name) &&
           platform::syncFolderBelow(folder, std::string());
}

bool ReplaceJournal::append(const QByteArray &line)
{
    if (!ReplaceSteps::faultPoint())
        return false;
    const QByteArray text = line + '\n';
    return platform::appendToFileBelow(folder(), fileName(), text.constData(), size_t(text.size()));
}

std::string ReplaceJournal::folder() const
{
    return QFile::encodeName(QFileInfo(m_path).absolutePath()).toStdString();
}

std::string ReplaceJournal::fileName() const
{
    return QFile::encodeName(QFileInfo(m_path).fileName()).toStdString();
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
    platform::removeEntryBelow(folder(), fileName() + ".new");
    return platform::removeEntryBelow(folder(), fileName()) &&
           platform::syncFolderBelow(folder(), std::string());
}

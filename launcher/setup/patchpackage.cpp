#include "patchpackage.h"

#include "zstddelta.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include <algorithm>

namespace {

const QByteArray kMagic("LMPATCH1");
const QString kStagedSuffix = QStringLiteral(".lunpatch");
// Far more than any index of a real game; a larger one is no index.
constexpr qint64 kMaxIndexBytes = 256 * 1024 * 1024;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool isHexDigest(const QByteArray &text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

QString kindName(PatchPackage::Kind kind)
{
    switch (kind) {
    case PatchPackage::Kind::Delta:
        return QStringLiteral("delta");
    case PatchPackage::Kind::Copy:
        return QStringLiteral("copy");
    case PatchPackage::Kind::Segmented:
        return QStringLiteral("segmented");
    case PatchPackage::Kind::Whole:
        break;
    }
    return QStringLiteral("whole");
}

QJsonArray toArray(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

bool readPaths(const QJsonValue &value, QStringList *out, QString *error)
{
    for (const QJsonValue &item : value.toArray()) {
        const QString path = item.toString();
        if (!PatchPackage::isPlainRelativePath(path))
            return fail(error, QStringLiteral("the patch names \"%1\", which is not a path "
                                              "inside the game folder")
                                   .arg(path));
        *out << path;
    }
    return true;
}

qint64 readSize(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    return number >= 0 && number < 9007199254740992.0 && number == qint64(number) ? qint64(number)
                                                                                  : -1;
}

// The segments must cover the file in order, each within one frame's window and its stretch
// of the base inside the base.
bool readSegments(const QJsonValue &value, PatchPackage::File *file)
{
    qint64 covered = 0;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject object = item.toObject();
        PatchPackage::Segment segment;
        segment.size = readSize(object.value(QStringLiteral("size")));
        segment.baseOffset = readSize(object.value(QStringLiteral("base_offset")));
        segment.baseLength = readSize(object.value(QStringLiteral("base_length")));
        segment.copy = object.value(QStringLiteral("copy")).toBool();
        if (!segment.copy) {
            segment.offset = readSize(object.value(QStringLiteral("offset")));
            segment.length = readSize(object.value(QStringLiteral("length")));
        }
        if (segment.size <= 0 || segment.baseOffset < 0 || segment.baseLength < 0 ||
            segment.offset < 0 || segment.length < 0 || segment.size > file->size - covered ||
            (segment.copy ? segment.baseLength != segment.size
                          : segment.size + segment.baseLength > ZstdDelta::kMaxBytes) ||
            (file->base.isEmpty() && segment.baseLength > 0) ||
            segment.baseOffset > file->baseSize - segment.baseLength)
            return false;
        covered += segment.size;
        file->segments << segment;
    }
    return covered == file->size;
}

} // namespace

QString PatchPackage::fileName(const QString &game, const QString &from, const QString &to)
{
    return QStringLiteral("%1_%2_%3.patch").arg(game, from, to);
}

QString PatchPackage::stagedPath(const QString &path)
{
    return path + kStagedSuffix;
}

bool PatchPackage::isPlainRelativePath(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) ||
        path.contains(QChar(0)) || path.contains(QLatin1Char(':')) || path.endsWith(kStagedSuffix))
        return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
}

QByteArray PatchPackage::indexJson() const
{
    QJsonArray items;
    for (const File &file : files) {
        QJsonObject item{{QStringLiteral("path"), file.path},
                         {QStringLiteral("sha256"), QString::fromLatin1(file.sha256)},
                         {QStringLiteral("size"), double(file.size)},
                         {QStringLiteral("kind"), kindName(file.kind)}};
        if (file.executable)
            item.insert(QStringLiteral("exec"), true);
        if (file.hasBase()) {
            item.insert(QStringLiteral("base"), file.base);
            item.insert(QStringLiteral("base_sha256"), QString::fromLatin1(file.baseSha256));
            item.insert(QStringLiteral("base_size"), double(file.baseSize));
        }
        if (file.kind == Kind::Segmented) {
            QJsonArray segments;
            for (const Segment &segment : file.segments) {
                QJsonObject object{{QStringLiteral("size"), double(segment.size)},
                                   {QStringLiteral("base_offset"), double(segment.baseOffset)},
                                   {QStringLiteral("base_length"), double(segment.baseLength)}};
                if (segment.copy) {
                    object.insert(QStringLiteral("copy"), true);
                } else {
                    object.insert(QStringLiteral("offset"), double(segment.offset));
                    object.insert(QStringLiteral("length"), double(segment.length));
                }
                segments.append(object);
            }
            item.insert(QStringLiteral("segments"), segments);
        } else if (file.kind != Kind::Copy) {
            item.insert(QStringLiteral("offset"), double(file.offset));
            item.insert(QStringLiteral("length"), double(file.length));
        }
        items.append(item);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("format"), 1},
                                     {QStringLiteral("from"), from},
                                     {QStringLiteral("to"), to},
                                     {QStringLiteral("files"), items},
                                     {QStringLiteral("folders"), toArray(folders)},
                                     {QStringLiteral("removed"), toArray(removed)},
                                     {QStringLiteral("removed_folders"), toArray(removedFolders)}})
        .toJson(QJsonDocument::Compact);
}

bool PatchPackage::fromIndexJson(const QByteArray &json, PatchPackage *out, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toInt() != 1)
        return fail(error, QStringLiteral("the patch index is not one this launcher reads"));
    PatchPackage index;
    index.from = root.value(QStringLiteral("from")).toString();
    index.to = root.value(QStringLiteral("to")).toString();
    for (const QJsonValue &value : root.value(QStringLiteral("files")).toArray()) {
        const QJsonObject item = value.toObject();
        File file;
        file.path = item.value(QStringLiteral("path")).toString();
        file.sha256 = item.value(QStringLiteral("sha256")).toString().toLatin1();
        file.size = readSize(item.value(QStringLiteral("size")));
        file.executable = item.value(QStringLiteral("exec")).toBool();
        const QString kind = item.value(QStringLiteral("kind")).toString();
        if (kind == QLatin1String("delta"))
            file.kind = Kind::Delta;
        else if (kind == QLatin1String("copy"))
            file.kind = Kind::Copy;
        else if (kind == QLatin1String("segmented"))
            file.kind = Kind::Segmented;
        else if (kind != QLatin1String("whole"))
            return fail(error,
                        QStringLiteral("the patch index names an unknown kind \"%1\"").arg(kind));
        if (!isPlainRelativePath(file.path))
            return fail(error, QStringLiteral("the patch names \"%1\", which is not a path "
                                              "inside the game folder")
                                   .arg(file.path));
        if (!isHexDigest(file.sha256) || file.size < 0)
            return fail(error, QStringLiteral("the patch gives no valid size and digest for "
                                              "\"%1\"")
                                   .arg(file.path));
        if (file.kind == Kind::Delta || file.kind == Kind::Copy ||
            (file.kind == Kind::Segmented && item.contains(QStringLiteral("base")))) {
            file.base = item.value(QStringLiteral("base")).toString();
            file.baseSha256 = item.value(QStringLiteral("base_sha256")).toString().toLatin1();
            file.baseSize = readSize(item.value(QStringLiteral("base_size")));
            if (!isPlainRelativePath(file.base) || !isHexDigest(file.baseSha256) ||
                file.baseSize < 0)
                return fail(
                    error,
                    QStringLiteral("the patch gives no valid base for \"%1\"").arg(file.path));
        }
        if (file.kind == Kind::Segmented) {
            if (!readSegments(item.value(QStringLiteral("segments")), &file))
                return fail(
                    error,
                    QStringLiteral("the patch gives no valid segments for \"%1\"").arg(file.path));
        } else if (file.kind != Kind::Copy) {
            file.offset = readSize(item.value(QStringLiteral("offset")));
            file.length = readSize(item.value(QStringLiteral("length")));
            if (file.offset < 0 || file.length < 0)
                return fail(
                    error,
                    QStringLiteral("the patch gives no valid frame for \"%1\"").arg(file.path));
        }
        index.files << file;
    }
    if (!readPaths(root.value(QStringLiteral("folders")), &index.folders, error) ||
        !readPaths(root.value(QStringLiteral("removed")), &index.removed, error) ||
        !readPaths(root.value(QStringLiteral("removed_folders")), &index.removedFolders, error))
        return false;
    // Two files of one name would make the result depend on their order.
    QStringList targets;
    for (const File &file : index.files)
        targets << file.path;
    targets.sort();
    if (std::adjacent_find(targets.begin(), targets.end()) != targets.end())
        return fail(error, QStringLiteral("the patch names one file twice"));
    *out = index;
    return true;
}

bool PatchPackage::write(const QString &path, const PatchPackage &index, const QString &framesPath,
                         QString *error)
{
    QFile out(path);
    QFile frames(framesPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(path, out.errorString()));
    if (!frames.open(QIODevice::ReadOnly))
        return fail(error,
                    QStringLiteral("%1: cannot read: %2").arg(framesPath, frames.errorString()));
    const QByteArray json = index.indexJson();
    QByteArray length(8, '\0');
    qToLittleEndian<quint64>(quint64(json.size()), length.data());
    if (out.write(kMagic) != kMagic.size() || out.write(length) != 8 ||
        out.write(json) != json.size())
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(path, out.errorString()));
    while (!frames.atEnd()) {
        const QByteArray chunk = frames.read(4 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return fail(error, QStringLiteral("%1: cannot write: %2").arg(path, out.errorString()));
    }
    if (!out.flush())
        return fail(error, QStringLiteral("%1: cannot write: %2").arg(path, out.errorString()));
    return true;
}

bool PatchPackage::read(const QString &path, PatchPackage *out, qint64 *dataOffset, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    const QByteArray head = file.read(16);
    if (head.size() != 16 || !head.startsWith(kMagic))
        return fail(error, QStringLiteral("%1 is no patch package").arg(path));
    const quint64 length = qFromLittleEndian<quint64>(head.constData() + 8);
    if (length > quint64(kMaxIndexBytes) || qint64(16 + length) > file.size())
        return fail(error, QStringLiteral("%1: the patch index is cut off").arg(path));
    PatchPackage index;
    if (!fromIndexJson(file.read(qint64(length)), &index, error))
        return false;
    const qint64 begin = 16 + qint64(length);
    const qint64 available = file.size() - begin;
    const auto outside = [available](qint64 offset, qint64 length) {
        return offset > available || length > available - offset;
    };
    for (const File &item : index.files) {
        bool inside = item.kind == Kind::Copy || !outside(item.offset, item.length);
        if (item.kind == Kind::Segmented)
            inside =
                std::none_of(item.segments.begin(), item.segments.end(), [&](const Segment &s) {
                    return !s.copy && outside(s.offset, s.length);
                });
        if (!inside)
            return fail(error, QStringLiteral("%1: the frame of \"%2\" lies outside the package")
                                   .arg(path, item.path));
    }
    *out = index;
    *dataOffset = begin;
    return true;
}

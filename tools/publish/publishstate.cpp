#include "publishstate.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "gamepublisher.h"
#include "publishcommon.h"
#include "versioncompare.h"

namespace {

bool readObject(const QString &path, QJsonObject *object, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return publish::fail(error,
                             QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
    if (!doc.isObject())
        return publish::fail(error, QStringLiteral("%1: not the publisher's state; remove it to "
                                                   "start afresh")
                                        .arg(path));
    *object = doc.object();
    return true;
}

bool writeObject(const QString &path, const QJsonObject &object, QString *error)
{
    QDir().mkpath(QFileInfo(path).path());
    // A hard link taken from the live site must be replaced, never written through.
    QFile::remove(path);
    QSaveFile file(path);
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return publish::fail(error,
                             QStringLiteral("%1: cannot write: %2").arg(path, file.errorString()));
    return true;
}

PublishState::Package packageFromJson(const QJsonObject &object)
{
    PublishState::Package package;
    package.version = object.value(QStringLiteral("version")).toString();
    package.name = object.value(QStringLiteral("name")).toString();
    const QJsonValue size = object.value(QStringLiteral("size"));
    package.size = size.isString() ? size.toString().toLongLong() : qint64(size.toDouble());
    package.isSigned = !object.value(QStringLiteral("signature")).toObject().isEmpty();
    return package;
}

} // namespace

QString PublishState::folderName()
{
    return QStringLiteral(".publish");
}

QString PublishState::snapshotPath(const QString &version)
{
    return folderName() + QStringLiteral("/versions/") + version + QStringLiteral(".json");
}

QString PublishState::packagePath(const QString &packageName)
{
    return folderName() + QStringLiteral("/versions/") + packageName;
}

bool PublishState::load(const QString &root, QString *error)
{
    const QDir folder(root + QLatin1Char('/') + folderName() + QStringLiteral("/versions"));
    for (const QString &name : folder.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        QJsonObject object;
        if (!readObject(folder.filePath(name), &object, error))
            return false;
        const QString version = object.value(QStringLiteral("version")).toString();
        FolderSnapshot snapshot;
        if (!publish::isValidVersion(version) ||
            !FolderSnapshot::fromJson(QStringLiteral("published %1").arg(version), object,
                                      &snapshot))
            return publish::fail(error, QStringLiteral("%1: not a published version's file "
                                                       "list")
                                            .arg(folder.filePath(name)));
        m_snapshots.insert(version, snapshot);
        const QString package = object.value(QStringLiteral("package")).toString();
        if (!package.isEmpty() && QFileInfo::exists(root + QLatin1Char('/') + packagePath(package)))
            m_packages.insert(version, package);
    }
    const QString statePath =
        root + QLatin1Char('/') + folderName() + QStringLiteral("/state.json");
    if (!QFileInfo::exists(statePath))
        return true;
    QJsonObject state;
    if (!readObject(statePath, &state, error))
        return false;
    for (const QJsonValue &value : state.value(QStringLiteral("retired")).toArray()) {
        const QJsonObject object = value.toObject();
        Retired retired;
        retired.file = object.value(QStringLiteral("file")).toString();
        retired.since =
            QDateTime::fromString(object.value(QStringLiteral("since")).toString(), Qt::ISODate);
        retired.runs = object.value(QStringLiteral("runs")).toInt();
        // Only plain names in the package folder: the state never deletes elsewhere.
        if (publish::isValidName(retired.file) && retired.since.isValid())
            m_retired << retired;
    }
    return true;
}

bool PublishState::save(const QString &root, QString *error) const
{
    for (auto it = m_snapshots.begin(); it != m_snapshots.end(); ++it) {
        QJsonObject object = it.value().toJson();
        object.insert(QStringLiteral("version"), it.key());
        if (m_packages.contains(it.key()))
            object.insert(QStringLiteral("package"), m_packages.value(it.key()));
        if (!writeObject(root + QLatin1Char('/') + snapshotPath(it.key()), object, error))
            return false;
    }
    QJsonArray retired;
    for (const Retired &item : m_retired)
        retired.append(QJsonObject{{QStringLiteral("file"), item.file},
                                   {QStringLiteral("since"), item.since.toString(Qt::ISODate)},
                                   {QStringLiteral("runs"), item.runs}});
    return writeObject(root + QLatin1Char('/') + folderName() + QStringLiteral("/state.json"),
                       QJsonObject{{QStringLiteral("retired"), retired}}, error);
}

QStringList PublishState::versions() const
{
    QStringList result = m_snapshots.keys();
    std::sort(result.begin(), result.end(),
              [](const QString &a, const QString &b) { return compareVersion(a, b) == 1; });
    return result;
}

void PublishState::record(const QString &version, const FolderSnapshot &snapshot,
                          const QString &package)
{
    m_snapshots.insert(version, snapshot);
    // New content without a package: the kept package, if any, is of the old content.
    if (package.isEmpty())
        m_packages.remove(version);
    else
        m_packages.insert(version, package);
}

bool PublishState::readLiveRelease(const QString &root, LiveRelease *release)
{
    QJsonObject answer;
    if (!readObject(root + QLatin1Char('/') + GamePublisher::resourcePath(), &answer, nullptr))
        return false;
    const QJsonObject game =
        answer.value(QStringLiteral("data")).toObject().value(QStringLiteral("game")).toObject();
    const QJsonObject latest = game.value(QStringLiteral("latest")).toObject();
    release->version = latest.value(QStringLiteral("version")).toString();
    release->full = packageFromJson(latest);
    release->full.version.clear();
    release->diffs.clear();
    for (const QJsonValue &diff : game.value(QStringLiteral("diffs")).toArray())
        release->diffs << packageFromJson(diff.toObject());
    return !release->version.isEmpty();
}

#include "sitestatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

#include "appversioninfo.h"
#include "gamepublisher.h"
#include "launcherpublisher.h"
#include "publishcommon.h"
#include "publishstate.h"

namespace {

QString describe(const QString &site, const QString &folder, const PublishState::Package &package)
{
    const QFileInfo file(site + QLatin1Char('/') + folder + QLatin1Char('/') + package.name);
    return QStringLiteral("%1/%2, %3 bytes, %4%5")
        .arg(folder, package.name)
        .arg(package.size)
        .arg(package.isSigned ? QStringLiteral("signed") : QStringLiteral("unsigned"),
             file.exists() ? QString() : QStringLiteral(", MISSING from the site"));
}

} // namespace

bool SiteStatus::print(const QString &site, QTextStream &out, QString *error)
{
    const QString root =
        QFileInfo(QDir::cleanPath(QFileInfo(site).absoluteFilePath())).canonicalFilePath();
    if (root.isEmpty() || !QFileInfo(root).isDir())
        return publish::fail(error, QStringLiteral("%1: no such folder").arg(site));
    out << "site " << root << Qt::endl;

    PublishState::LiveRelease live;
    if (PublishState::readLiveRelease(root, &live)) {
        out << "game " << live.version << ": "
            << describe(root, GamePublisher::packageFolder(), live.full) << Qt::endl;
        for (const PublishState::Package &diff : live.diffs)
            out << "  from " << diff.version << ": "
                << describe(root, GamePublisher::packageFolder(), diff) << Qt::endl;
    } else {
        out << "game: none published" << Qt::endl;
    }

    PublishState state;
    if (!state.load(root, error))
        return false;
    QStringList kept;
    for (const QString &version : state.versions())
        kept << (state.packageOf(version).isEmpty() ? version
                                                    : version + QStringLiteral(" (package)"));
    out << "kept versions: " << (kept.isEmpty() ? QStringLiteral("none") : kept.join(", "))
        << Qt::endl;
    for (const PublishState::Retired &item : state.retired())
        out << "retired " << GamePublisher::packageFolder() << '/' << item.file << " since "
            << item.since.toString(Qt::ISODate) << ", " << item.runs << " run(s) ago" << Qt::endl;

    QFile releaseFile(root + QLatin1Char('/') + LauncherPublisher::releasePath());
    AppVersionInfo release;
    if (releaseFile.open(QIODevice::ReadOnly) &&
        AppVersionInfo::fromReleaseAnswer(QJsonDocument::fromJson(releaseFile.readAll()),
                                          QStringLiteral("18"),
                                          &release) == AppVersionInfo::Verdict::Update) {
        PublishState::Package package;
        package.name = release.packageName();
        package.size = release.packageSize();
        package.isSigned = !release.packageSignature().isEmpty();
        out << "launcher " << release.packageVersion() << ": "
            << describe(root, LauncherPublisher::packageFolder(), package) << ", update type "
            << release.updateType() << Qt::endl;
    } else {
        out << "launcher: none published" << Qt::endl;
    }
    return true;
}

#include "patchupdate.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QFile>
#include <QThread>

#include "launcherconfig.h"
#include "signedpackages.h"
#include "updateversioninfo.h"

PatchUpdate::PatchUpdate(QObject *parent)
    : QObject(parent)
{}

PatchUpdate::~PatchUpdate()
{
    // The run is left to end (a kill is what the journal is for). It records the version
    // through a blocking call to this thread, so that call is served while waiting.
    if (m_thread) {
        while (!m_thread->wait(20))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        delete m_thread;
    }
}

PatchUpdate::Package PatchUpdate::choose(const UpdateVersionInfo &manifest,
                                         const QString &installed) const
{
    Package package;
    if (manifest.hasPatch(installed) && installed != m_refused) {
        const DiffPackageInfo patch = manifest.patch(installed);
        package.isPatch = true;
        package.url = QUrl(patch.path);
        package.md5 = patch.md5;
        package.size = patch.size.toLongLong();
        package.name = patch.name;
        package.expected = SignedPackages::patchPackage(manifest, installed);
        return package;
    }
    package.url = manifest.packageUrl(installed);
    package.md5 = manifest.packageMd5(installed);
    package.size = manifest.packageSize(installed);
    package.name = manifest.packageName(installed);
    package.expected = SignedPackages::gamePackage(manifest, installed);
    return package;
}

bool PatchUpdate::recordVersion(const QString &version)
{
    LauncherConfig::instance()->setGameVersion(version);
    return LauncherConfig::instance()->gameVersion() == version;
}

PatchApplier::Result PatchUpdate::resume(const QString &folder)
{
    PatchApplier applier;
    const PatchApplier::Result result = applier.resume(folder, &PatchUpdate::recordVersion);
    if (result.outcome != PatchApplier::Outcome::Nothing)
        qDebug() << "patch run resumed:" << int(result.outcome) << result.message;
    return result;
}

void PatchUpdate::start(const QString &folder, const QString &packagePath)
{
    if (m_thread)
        return;
    m_thread = QThread::create([this, folder, packagePath] {
        PatchApplier applier;
        applier.setProgress([this](qint64 done, qint64 total) { emit progress(done, total); });
        // The configuration belongs to the GUI thread: the version is written there.
        const auto record = [this](const QString &version) {
            bool ok = false;
            QMetaObject::invokeMethod(
                this, [&ok, version] { ok = recordVersion(version); },
                Qt::BlockingQueuedConnection);
            return ok;
        };
        const PatchApplier::Result result = applier.apply(folder, packagePath, record);
        QMetaObject::invokeMethod(this, [this, result, packagePath] {
            m_thread->wait();
            delete m_thread;
            m_thread = nullptr;
            switch (result.outcome) {
            case PatchApplier::Outcome::Applied:
                QFile::remove(packagePath);
                emit applied(result.version);
                break;
            case PatchApplier::Outcome::Unusable:
                QFile::remove(packagePath);
                qDebug() << "patch package not usable:" << result.message;
                emit unusable(result.message);
                break;
            default:
                emit failed(result.code, result.message);
                break;
            }
        });
    });
    m_thread->start();
}

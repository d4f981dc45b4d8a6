#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include "patchapplier.h"
#include "packagetrust.h"

class QThread;
class UpdateVersionInfo;

// Chooses what an update downloads and applies a patch package on a thread of its own. The
// patch is preferred; once it proved unusable for the installed files (a player changed one,
// or the package is damaged) the same installed version takes the difference package, and
// the game stays as it was meanwhile.
class PatchUpdate : public QObject
{
    Q_OBJECT
public:
    struct Package
    {
        bool isPatch = false;
        QUrl url;
        QString md5;
        qint64 size = 0;
        QString name;
        SignedPackage expected;
    };

    explicit PatchUpdate(QObject *parent = nullptr);
    ~PatchUpdate() override;

    Package choose(const UpdateVersionInfo &manifest, const QString &installed) const;
    void refuse(const QString &installed) { m_refused = installed; }
    bool isRunning() const { return m_thread != nullptr; }

    // Applies the patch package at packagePath to the game in folder; finished() follows.
    void start(const QString &folder, const QString &packagePath);
    // Ends a patch run a killed launcher left behind, before the installed version is read.
    static PatchApplier::Result resume(const QString &folder);

signals:
    void progress(qint64 done, qint64 total);
    void applied(const QString &version);
    // The game is unchanged; the difference package can still update it.
    void unusable(const QString &why);
    void failed(ErrorDefine::ErrorCode error, const QString &msg);

private:
    static bool recordVersion(const QString &version);

    QString m_refused;
    QThread *m_thread = nullptr;
};

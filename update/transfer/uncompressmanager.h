#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>

#include "errordefine.h"
#include "extractreporter.h"

class SevenZipLibrary;

// Unpacks the launcher package into the updater's extraction folder on its own thread,
// through the same 7-Zip client objects as the launcher's package setup.
class UncompressManager : public QThread, public ExtractReporter
{
    Q_OBJECT
public:
    // The process-wide object; created on first use, never destroyed.
    static UncompressManager *instance();
    ~UncompressManager() override;

    void setUncompressPaths(const QString &packagePath, const QString &outputFolder);
    // Drops the loaded 7-Zip library; the next run resolves it again. Only while no run executes.
    void unloadLibrary();
    // Where to look for 7-Zip's library; the program's folder and the build's fallback unless set.
    void setLibraryPaths(const QStringList &paths);

signals:
    void unzipProgress(qlonglong finishSize, qlonglong totalSize);
    void unzipFinished();
    void unzipError(ErrorDefine::ErrorCode error, QString msg);
    void unzipingFile(QString filePath);

protected:
    void run() override;

private:
    UncompressManager();
    bool extract();

    void reportProgress(qlonglong completed, qlonglong total) override;
    void reportItemPath(const QString &path) override;
    void reportError(ErrorDefine::ErrorCode code, const QString &message) override;

    std::unique_ptr<SevenZipLibrary> m_library;
    QStringList m_libraryPaths;
    QString m_packagePath;
    QString m_outputFolder;
};

#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

#include "errordefine.h"
#include "extractreporter.h"
#include "sevenziplibrary.h"

// Unpacks a downloaded package into the folder that holds it, on its own thread, then
// applies the package's deletion list and checks the game's metadata file. Everything it
// finds is reported through queued signals.
class setupmanager : public QThread, public ExtractReporter
{
    Q_OBJECT
public:
    explicit setupmanager(QObject *parent = nullptr);
    ~setupmanager() override;

    // The process-wide instance for the game package; created on first use, never destroyed.
    static setupmanager *instance();

    // Where to look for 7-Zip's library; the program's folder and the build's fallback
    // unless set before the first run.
    void setLibraryPaths(const QStringList &paths);

signals:
    void setupProgress(qlonglong finishSize, qlonglong totalSize);
    void setupFinished();
    void setupError(ErrorDefine::ErrorCode error, QString msg);
    void setupUnzipFilePath(QString filePath);
    void globalMetaDataDismiss();
    void globalMetaDataError();

public slots:
    void setZipFilePath(QString dir);
    void setZipFileName(QString zipName);
    // A whole run in the caller's thread.
    void startSetup();

protected:
    void run() override;

private:
    void performRun();
    bool extract(const QString &packagePath);
    bool applyDeletionList();
    void checkGlobalMetaData();

    void reportProgress(qlonglong completed, qlonglong total) override;
    void reportItemPath(const QString &path) override;
    void reportError(ErrorDefine::ErrorCode code, const QString &message) override;

    SevenZipLibrary m_library;
    QString m_zipName;
    QString m_folder;
    // Set from the library's threads as well as the run's.
    std::atomic<bool> m_error{false};
};

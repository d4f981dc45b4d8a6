#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>

#include "errordefine.h"
#include "extractreporter.h"
#include "sevenziplibrary.h"

// Unpacks chosen items of a 7z package into a folder, on its own thread: 7-Zip selects them
// by index, so a repair rewrites only the damaged files and leaves every other file, and
// whatever the player added, as it is. The package is kept; its owner decides when it goes.
class PackageItemExtractor : public QThread, public ExtractReporter
{
    Q_OBJECT
public:
    explicit PackageItemExtractor(QObject *parent = nullptr);
    ~PackageItemExtractor() override;

    void setLibraryPaths(const QStringList &paths);
    // Written before start(), read only by the run.
    void setPackage(const QString &packagePath) { m_package = packagePath; }
    void setFolder(const QString &folder) { m_folder = folder; }
    // Item paths with "/" separators, as the file list names them.
    void setItems(const QStringList &items) { m_items = items; }

signals:
    void extractProgress(qlonglong finishSize, qlonglong totalSize);
    void extractFinished();
    void extractError(ErrorDefine::ErrorCode error, QString msg);

protected:
    void run() override;

private:
    bool extract();
    void reportProgress(qlonglong completed, qlonglong total) override;
    void reportItemPath(const QString &path) override;
    void reportError(ErrorDefine::ErrorCode code, const QString &message) override;

    SevenZipLibrary m_library;
    QString m_package;
    QString m_folder;
    QStringList m_items;
    std::atomic<bool> m_error{false};
};

#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

// Folders to publish and the tool's real program, for the publisher's tests.
namespace publishtest {

inline bool writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        return false;
    file.close();
    if (executable)
        return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return true;
}

inline bool writeTree(const QString &root, const QMap<QString, QByteArray> &files)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (!writeFile(root + QLatin1Char('/') + it.key(), it.value()))
            return false;
    }
    return true;
}

// Every file and empty folder under root: relative path -> MD5 (with "x" for an executable
// file, "dir" for an empty folder).
inline QMap<QString, QByteArray> listing(const QString &root, const QStringList &skip = {},
                                         bool skipHidden = false)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        if (skip.contains(relative) ||
            (skipHidden && (relative.startsWith('.') || relative.contains("/."))))
            continue;
        if (it.fileInfo().isDir()) {
            if (QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
                result.insert(relative, "dir");
            continue;
        }
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Md5);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        result.insert(relative, hash.result().toHex() + (it.fileInfo().isExecutable() ? "x" : ""));
    }
    return result;
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline Run runTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(PUBLISH_BIN), arguments);
    Run run;
    if (!tool.waitForFinished(180000)) {
        tool.kill();
        tool.waitForFinished(5000);
        run.err = QStringLiteral("timed out");
        return run;
    }
    run.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    run.out = QString::fromUtf8(tool.readAllStandardOutput());
    run.err = QString::fromUtf8(tool.readAllStandardError());
    return run;
}

} // namespace publishtest

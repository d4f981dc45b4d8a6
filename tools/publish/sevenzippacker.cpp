#include "sevenzippacker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "interruption.h"

QStringList SevenZipPacker::settings()
{
    // LZMA2 in 32 MB blocks and 32 MB solid blocks: 7z.so decodes the blocks of one stream on
    // both cores, where one solid stream decodes on one. No times are stored (-mtm/-mtc/-mta
    // off), so a fresh checkout of the same files gives the same archive.
    return {QStringLiteral("-t7z"),     QStringLiteral("-m0=lzma2:d=16m:c=32m"),
            QStringLiteral("-mmt=2"),   QStringLiteral("-ms=32m"),
            QStringLiteral("-mtm=off"), QStringLiteral("-mtc=off"),
            QStringLiteral("-mta=off"), QStringLiteral("-scsUTF-8"),
            QStringLiteral("-bd"),      QStringLiteral("-bso0"),
            QStringLiteral("-bsp0")};
}

QString SevenZipPacker::program()
{
    const QString fromEnvironment = qEnvironmentVariable("LUNMERE_7Z");
    return fromEnvironment.isEmpty() ? QStringLiteral("7z") : fromEnvironment;
}

bool SevenZipPacker::pack(const QString &folder, const QStringList &files,
                          const QStringList &extraFiles, const QString &archive, QString *error)
{
    if (QFileInfo::exists(archive)) {
        *error = QStringLiteral("%1: already exists").arg(archive);
        return false;
    }
    if (Interruption::requested()) {
        *error = Interruption::message();
        return false;
    }
    // A list file keeps long lists off the command line; names in it are taken literally, as
    // the scan has refused the wildcard characters. 7z trims the spaces around a line unless it
    // is quoted, and the scan has refused quotes in names.
    QTemporaryFile list(QDir::tempPath() + QStringLiteral("/lunmere-publish-XXXXXX.txt"));
    if (!list.open()) {
        *error = QStringLiteral("cannot write a list file: %1").arg(list.errorString());
        return false;
    }
    for (const QString &file : files + extraFiles)
        list.write('"' + file.toUtf8() + "\"\n");
    list.close();

    QProcess sevenZip;
    sevenZip.setWorkingDirectory(folder);
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.start(program(), QStringList{QStringLiteral("a")} + settings() +
                                  QStringList{archive, QLatin1Char('@') + list.fileName()});
    if (!sevenZip.waitForStarted(30000)) {
        *error = QStringLiteral("cannot start %1: %2 (Debian package p7zip-full)")
                     .arg(program(), sevenZip.errorString());
        return false;
    }
    Interruption::setChild(sevenZip.processId());
    sevenZip.waitForFinished(-1);
    Interruption::setChild(0);
    if (Interruption::requested()) {
        *error = Interruption::message();
        QFile::remove(archive);
        return false;
    }
    if (sevenZip.exitStatus() != QProcess::NormalExit || sevenZip.exitCode() != 0) {
        *error = QStringLiteral("%1 failed packing %2 (exit code %3): %4")
                     .arg(program(), archive)
                     .arg(sevenZip.exitCode())
                     .arg(QString::fromLocal8Bit(sevenZip.readAll()).trimmed());
        QFile::remove(archive);
        return false;
    }
    return true;
}

bool SevenZipPacker::extract(const QString &archive, const QString &folder, QString *error)
{
    QProcess sevenZip;
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.start(program(),
                   {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-bd"),
                    QStringLiteral("-scsUTF-8"), QStringLiteral("-o") + folder, archive});
    if (!sevenZip.waitForStarted(30000)) {
        *error = QStringLiteral("cannot start %1: %2 (Debian package p7zip-full)")
                     .arg(program(), sevenZip.errorString());
        return false;
    }
    Interruption::setChild(sevenZip.processId());
    sevenZip.waitForFinished(-1);
    Interruption::setChild(0);
    if (Interruption::requested()) {
        *error = Interruption::message();
        return false;
    }
    if (sevenZip.exitStatus() != QProcess::NormalExit || sevenZip.exitCode() != 0) {
        *error = QStringLiteral("%1 failed unpacking %2 (exit code %3): %4")
                     .arg(program(), archive)
                     .arg(sevenZip.exitCode())
                     .arg(QString::fromLocal8Bit(sevenZip.readAll()).trimmed());
        return false;
    }
    return true;
}

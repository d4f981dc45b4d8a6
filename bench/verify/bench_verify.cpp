// Drives the real download manager for bench/verify/run.sh: one download of <url> into
// <folder>, then the check that gates unpacking.
//   bench_verify keyed|unkeyed <url> <folder> <copy of the served file> <key stem>
// keyed: a launcher with publisher keys, the digests taken while the bytes arrive, "verified"
// means MD5, SHA-256 and the Ed25519 signature of the publisher's statement.
// unkeyed: a launcher without keys, "verified" means the MD5 of the answer, read after the
// last byte as it always was.
// Prints download_seconds (start to last byte on disk) and verify_seconds (last byte to
// verified).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>

#include "downloadmanager.h"
#include "packagedigest.h"
#include "packagesigner.h"
#include "packagetrust.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Velmora"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_verify"));
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    const QStringList modes = {QStringLiteral("keyed"), QStringLiteral("unkeyed")};
    if (args.size() != 5 || !modes.contains(args.at(0))) {
        out << "usage: bench_verify keyed|unkeyed <url> <folder> <served file> <key stem>"
            << Qt::endl;
        return 2;
    }
    const bool keyed = args.at(0) == modes.at(0);
    const QStringList rest = args.mid(1);
    const QUrl url(rest.at(0));
    QString error;
    QString publicKey;
    if (!QFileInfo::exists(rest.at(3) + QStringLiteral(".key")) &&
        !PackageSigner::generate(rest.at(3), &publicKey, &error)) {
        out << "error " << error << Qt::endl;
        return 1;
    }
    PackageSigner signer;
    SignedPackage expected;
    PackageDigest digest;
    // Signing reads the served copy once; none of it is timed.
    if (!signer.load(rest.at(3) + QStringLiteral(".key"), &error) ||
        !PackageDigest::ofFile(rest.at(2), &digest) ||
        !signer.signFile(rest.at(2), url.fileName(), QStringLiteral("1.0.0"), QString(), digest.md5,
                         &expected.signature, &error)) {
        out << "error " << error << Qt::endl;
        return 1;
    }
    if (keyed)
        PackageTrust::setTrustedKeys({signer.publicKey()});
    expected.name = url.fileName();
    expected.version = QStringLiteral("1.0.0");
    expected.md5 = digest.md5;
    expected.size = digest.size;

    downloadmanager manager;
    QElapsedTimer clock;
    qint64 lastByteNs = 0;
    const auto fail = [&](ErrorDefine::ErrorCode code, const QString &msg) {
        out << "error " << int(code) << ' ' << msg << Qt::endl;
        QCoreApplication::exit(1);
    };
    QObject::connect(&manager, &downloadmanager::downloadError, fail);
    QObject::connect(&manager, &downloadmanager::httpError, fail);
    QObject::connect(&manager, &downloadmanager::downloadFinished, [&] {
        lastByteNs = clock.nsecsElapsed();
        manager.fileMd5(manager.finalFilePath());
    });
    QObject::connect(&manager, &downloadmanager::md5CheckFinish, [&] {
        const qint64 verifiedNs = clock.nsecsElapsed();
        out << "download_seconds " << QString::number(lastByteNs / 1e9, 'f', 3) << Qt::endl;
        out << "verify_seconds " << QString::number((verifiedNs - lastByteNs) / 1e9, 'f', 4)
            << Qt::endl;
        QCoreApplication::exit(0);
    });
    clock.start();
    manager.setFilePath(rest.at(1));
    manager.setFileMD5(expected.md5);
    if (keyed)
        manager.setExpectedPackage(expected);
    manager.setUrl(url);
    manager.startDownload();
    return app.exec();
}

// Installs a whole version from its per-file store with the launcher's unpacker:
//   bench_storeinstall <store> <file list> <install folder> <threads>
// Output: "seconds S bytes B" and "ok" or the error.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include "gamefilelist.h"
#include "storeunpacker.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 5) {
        QTextStream(stderr) << "usage: bench_storeinstall <store> <list> <folder> <threads>\n";
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    QFile listFile(QString::fromLocal8Bit(argv[2]));
    GameFileList list;
    QString error;
    if (!listFile.open(QIODevice::ReadOnly) ||
        !GameFileList::fromJson(listFile.readAll(), &list, &error)) {
        QTextStream(stderr) << "bad list: " << error << '\n';
        return 1;
    }
    const StoreUnpacker::Result result = StoreUnpacker::unpack(
        QString::fromLocal8Bit(argv[1]), list, QString::fromLocal8Bit(argv[3]),
        QString::fromLocal8Bit(argv[4]).toInt());
    out << "seconds " << QString::number(timer.nsecsElapsed() / 1e9, 'f', 3) << " bytes "
        << result.bytes << '\n'
        << (result.ok ? QStringLiteral("ok") : result.error) << '\n';
    return result.ok ? 0 : 1;
}

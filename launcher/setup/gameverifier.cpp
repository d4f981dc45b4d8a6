#include "gameverifier.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {
// Large enough that the hash, not the calls, sets the pace; small enough to cancel at once.
constexpr qint64 kReadSize = 1 << 20;
} // namespace

GameVerifier::GameVerifier(const QString &folder, const QList<GameFileList::Entry> &entries,
                           QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_entries(entries)
{
    qRegisterMetaType<GameVerifier::Result>();
}

void GameVerifier::run()
{
    emit finished(verify());
}

GameVerifier::Result GameVerifier::verify()
{
    Result result;
    const int total = m_entries.size();
    QList<int> toHash;
    qint64 bytesTotal = 0;
    for (int i = 0; i < total && !m_cancelled; ++i) {
        const GameFileList::Entry &entry = m_entries.at(i);
        const QFileInfo info(m_folder + QLatin1Char('/') + entry.path);
        if (!info.exists() && !info.isSymLink()) {
            result.damaged << Finding{entry.path, Missing, {}};
        } else if (!info.isFile()) {
            result.damaged << Finding{entry.path, NotAFile, {}};
        } else if (info.size() != entry.size) {
            result.damaged << Finding{entry.path, WrongSize, {}};
        } else {
            toHash << i;
            bytesTotal += entry.size;
            continue;
        }
        ++result.checked;
    }

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    emit progress(result.checked, total, 0, bytesTotal);
    const std::unique_ptr<char[]> buffer(new char[kReadSize]);
    for (int index : toHash) {
        if (m_cancelled)
            break;
        const GameFileList::Entry &entry = m_entries.at(index);
        QFile file(m_folder + QLatin1Char('/') + entry.path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        QString readError;
        if (!file.open(QIODevice::ReadOnly)) {
            readError = file.errorString();
        } else {
            for (;;) {
                const qint64 n = file.read(buffer.get(), kReadSize);
                if (n < 0) {
                    readError = file.errorString();
                    break;
                }
                if (n == 0 || m_cancelled)
                    break;
                hash.addData(buffer.get(), int(n));
                result.bytesRead += n;
                if (sinceProgress.elapsed() >= kProgressIntervalMs) {
                    sinceProgress.restart();
                    emit progress(result.checked, total, result.bytesRead, bytesTotal);
                }
            }
        }
        if (m_cancelled)
            break;
        if (!readError.isEmpty())
            result.unreadable << Finding{entry.path, Unreadable, readError};
        else if (hash.result().toHex() != entry.sha256)
            result.damaged << Finding{entry.path, WrongContent, {}};
        ++result.checked;
    }
    result.cancelled = m_cancelled;
    emit progress(result.checked, total, result.bytesRead, bytesTotal);
    return result;
}

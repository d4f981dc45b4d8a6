#include "gameverifier.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QThread>
#include <QVector>

#include <memory>
#include <thread>
#include <vector>

#include "packagedigest.h"

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

    // Files are hashed side by side, one per worker: the hash, not a solid-state disk, sets
    // the pace, and a player's processor has cores to spare while nothing else runs.
    struct Outcome
    {
        QString readError;
        bool differs = false;
        bool done = false;
    };
    QVector<Outcome> outcomes(toHash.size());
    std::atomic<int> next{0};
    std::atomic<int> filesDone{result.checked};
    std::atomic<qint64> bytesDone{0};
    QMutex progressMutex;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    emit progress(result.checked, total, 0, bytesTotal);

    const auto worker = [&] {
        const std::unique_ptr<char[]> buffer(new char[kReadSize]);
        for (int slot = next++; slot < toHash.size() && !m_cancelled; slot = next++) {
            const GameFileList::Entry &entry = m_entries.at(toHash.at(slot));
            Outcome &outcome = outcomes[slot];
            QFile file(m_folder + QLatin1Char('/') + entry.path);
            // OpenSSL uses the processor's SHA instructions; Qt 5 hashes in plain C, 8x slower.
            StreamHash hash(StreamHash::Sha256);
            if (!file.open(QIODevice::ReadOnly)) {
                outcome.readError = file.errorString();
            } else {
                for (;;) {
                    const qint64 n = file.read(buffer.get(), kReadSize);
                    if (n < 0) {
                        outcome.readError = file.errorString();
                        break;
                    }
                    if (n == 0 || m_cancelled)
                        break;
                    hash.addData(buffer.get(), n);
                    bytesDone += n;
                    if (progressMutex.tryLock()) {
                        if (sinceProgress.elapsed() >= kProgressIntervalMs) {
                            sinceProgress.restart();
                            emit progress(filesDone, total, bytesDone, bytesTotal);
                        }
                        progressMutex.unlock();
                    }
                }
            }
            if (m_cancelled)
                return;
            outcome.differs =
                outcome.readError.isEmpty() && hash.resultHex().toLatin1() != entry.sha256;
            outcome.done = true;
            ++filesDone;
        }
    };
    const int threads = qBound(1, QThread::idealThreadCount(), kMaxHashThreads);
    std::vector<std::thread> helpers;
    for (int i = 1; i < qMin(threads, toHash.size()); ++i)
        helpers.emplace_back(worker);
    worker();
    for (std::thread &helper : helpers)
        helper.join();

    for (int slot = 0; slot < toHash.size(); ++slot) {
        const Outcome &outcome = outcomes.at(slot);
        if (!outcome.done)
            continue;
        const QString &path = m_entries.at(toHash.at(slot)).path;
        if (!outcome.readError.isEmpty())
            result.unreadable << Finding{path, Unreadable, outcome.readError};
        else if (outcome.differs)
            result.damaged << Finding{path, WrongContent, {}};
        ++result.checked;
    }
    result.bytesRead = bytesDone;
    result.cancelled = m_cancelled;
    emit progress(result.checked, total, result.bytesRead, bytesTotal);
    return result;
}

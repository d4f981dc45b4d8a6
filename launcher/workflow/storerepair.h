#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <string>
#include <vector>

#include "filestore.h"
#include "gamefilelist.h"

class QNetworkAccessManager;
class QNetworkReply;
struct ZSTD_DCtx_s;

// Repairs single files from the version's per-file store: only the damaged files' objects are
// fetched, by range requests. Each answer streams through the decoder into a staged file
// beside its place, hashed as it is written, so memory stays the same for a 4 GiB pack as for
// a text file. Nothing in the game folder is replaced before every staged file has passed;
// any answer that is not the exact range asked for, a wrong object or a stop removes all that
// was staged, so the caller can take the full package instead.
class StoreRepair : public QObject
{
    Q_OBJECT
public:
    // Tries per request, the first included; a broken connection resumes where it stopped.
    static constexpr int kMaxTries = 3;

    // list must name a store that covers every entry (FileStore::covers); listUrl is where the
    // list was fetched, and the store lies beside it.
    StoreRepair(const QUrl &listUrl, const GameFileList &list, const QStringList &paths,
                QObject *parent = nullptr);
    ~StoreRepair() override;

    // The bytes the requests would fetch, and the most a repair of these files may cost: their
    // objects and a mebibyte for each. A plan beyond it is not worth a try.
    qint64 plannedBytes() const { return FileStore::bytesOf(m_spans); }
    qint64 budgetBytes() const;
    qint64 receivedBytes() const { return m_received; }

    // Fetches, decodes and checks each file into its staged copy below folder; ends in
    // fetched().
    void fetch(const QString &folder);
    // Stops and removes what was staged.
    void cancel();
    // After fetched(true): renames each staged file over its place. Paths the list names only,
    // and never through a link.
    bool write(QString *error);

signals:
    void progress(qint64 done, qint64 total);
    void fetched(bool ok, const QString &why);

private:
    // One object of a span and the files it becomes (several when they share a content).
    struct Object
    {
        qint64 offset = 0;
        qint64 length = 0;
        QList<int> entries;
    };
    struct Sink;

    void request();
    void onMetaData();
    void onFinished();
    void resume();
    void pump();
    void endReply();
    void stop(const QString &why);
    qint64 consume(const char *data, qint64 size);
    bool openObject();
    qint64 feed(const char *data, qint64 size);
    bool put(const char *data, qint64 size);
    bool closeObject();
    bool stageFolders(const GameFileList::Entry &entry);
    void discard();
    void finish(bool ok, const QString &why);

    QUrl m_storeUrl;
    qint64 m_storeSize = 0;
    QList<GameFileList::Entry> m_entries;
    QList<FileStore::Span> m_spans;
    QList<QList<Object>> m_objects; // per span, in store order

    std::string m_root;
    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    int m_span = 0;
    int m_object = 0;
    int m_tries = 0;
    qint64 m_requestEnd = 0; // where in the span the current request ends
    qint64 m_spanRead = 0;   // the current span's bytes read from the answers
    qint64 m_spanDone = 0;   // and those of them decoded
    QByteArray m_pending;    // read, not yet decoded: the rest of a step
    qint64 m_stepLeft = 0;
    bool m_replyEnded = false;
    bool m_resumeQueued = false;
    qint64 m_spansDone = 0; // the earlier spans' bytes
    bool m_objectOpen = false;
    qint64 m_written = 0; // the open object's decoded bytes
    std::vector<std::unique_ptr<Sink>> m_sinks;
    ZSTD_DCtx_s *m_zstd = nullptr;
    size_t m_zstdLeft = 0; // what the frame still wants; 0 once it is whole
    std::vector<char> m_buffer;
    QStringList m_staged; // parts written and checked, or being written
    QStringList m_madeFolders;
    QString m_why;
    qint64 m_received = 0;
    bool m_done = false;
    bool m_ready = false;
};

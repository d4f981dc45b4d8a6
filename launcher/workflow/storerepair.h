#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include "filestore.h"
#include "gamefilelist.h"

class QNetworkAccessManager;
class QNetworkReply;
class QThread;

// Repairs single files from the version's per-file store: only the damaged files' objects are
// fetched, by range requests, and each is decoded and checked against the file list before
// anything in the game folder changes. Any answer that is not the exact range asked for ends
// the run unused, so the caller can take the full package instead.
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

    // Fetches, decodes and checks; ends in fetched().
    void fetch();
    void cancel();
    // After fetched(true): writes each file under a temporary name beside its place and renames
    // it over. Paths the list names only, and never through a link.
    bool write(const QString &folder, QString *error);

signals:
    void progress(qint64 done, qint64 total);
    void fetched(bool ok, const QString &why);

private:
    void request();
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void decode();
    void finish(bool ok, const QString &why);

    QUrl m_storeUrl;
    qint64 m_storeSize = 0;
    QList<GameFileList::Entry> m_entries;
    QList<FileStore::Span> m_spans;
    QList<QByteArray> m_contents; // per entry, once decoded and checked

    QNetworkAccessManager *m_manager = nullptr;
    QNetworkReply *m_reply = nullptr;
    QThread *m_decoder = nullptr;
    int m_span = 0;
    int m_tries = 0;
    QByteArray m_body; // the current span's bytes so far
    QList<QByteArray> m_bodies;
    QString m_why;
    qint64 m_received = 0;
    bool m_done = false;
};

#include "storerepair.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>

#include <zstd.h>

#include <algorithm>

#include "confinedentries.h"
#include "packagedigest.h"

namespace {
// Beside the file it replaces, so the rename stays in one folder.
const QString kPartSuffix = QStringLiteral(".repair-part");
constexpr qint64 kSlackPerFile = 1024 * 1024;
constexpr int kTransferTimeoutMs = 30000;
// What one read takes from an answer, and the most one step writes before the event loop runs
// again: a window stays responsive however well the bytes compress.
constexpr qint64 kReadChunk = 256 * 1024;
constexpr qint64 kStepBytes = 16 * 1024 * 1024;
constexpr size_t kOutChunk = 1 << 20;
// Qt stops reading the connection while this much waits unread.
constexpr qint64 kReplyBuffer = 4 * 1024 * 1024;
// A large object comes in several requests: on a fast link Qt's network thread buffers an
// answer well ahead of the decoder, so one answer must not be a whole 4 GiB pack.
constexpr qint64 kMaxRequestBytes = 8 * 1024 * 1024;
} // namespace

struct StoreRepair::Sink
{
    int entry = 0;
    platform::NewFileBelow file;
    StreamHash hash{StreamHash::Sha256};
};

StoreRepair::StoreRepair(const QUrl &listUrl, const GameFileList &list, const QStringList &paths,
                         QObject *parent)
    : QObject(parent)
    , m_storeSize(list.store.size)
    , m_manager(new QNetworkAccessManager(this))
{
    m_storeUrl = listUrl;
    m_storeUrl.setQuery(QString());
    m_storeUrl.setFragment(QString());
    m_storeUrl.setPath(listUrl.path().section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') +
                       list.store.name);
    for (const GameFileList::Entry &entry : list.entries) {
        if (paths.contains(entry.path))
            m_entries << entry;
    }
    m_spans = FileStore::plan(m_entries);
    for (const FileStore::Span &span : qAsConst(m_spans)) {
        QList<Object> objects;
        for (int i : span.entries) {
            const GameFileList::Entry &entry = m_entries.at(i);
            if (!objects.isEmpty() && objects.last().offset == entry.objectOffset) {
                objects.last().entries << i;
                continue;
            }
            objects << Object{entry.objectOffset, entry.objectLength, {i}};
        }
        m_objects << objects;
    }
}

StoreRepair::~StoreRepair()
{
    cancel();
    ZSTD_freeDCtx(m_zstd);
}

qint64 StoreRepair::budgetBytes() const
{
    qint64 budget = 0;
    for (const GameFileList::Entry &entry : m_entries)
        budget += entry.objectLength + kSlackPerFile;
    return budget;
}

void StoreRepair::fetch(const QString &folder)
{
    m_root = QDir::toNativeSeparators(folder).toStdString();
    m_span = 0;
    m_object = 0;
    m_tries = 0;
    m_spanRead = 0;
    m_spanDone = 0;
    m_spansDone = 0;
    m_pending.clear();
    // What a killed run staged is worth nothing now: its bytes were never checked to the end.
    for (const GameFileList::Entry &entry : qAsConst(m_entries))
        platform::removeEntryBelow(m_root, QString(entry.path + kPartSuffix).toStdString());
    m_received = 0;
    m_done = false;
    m_ready = false;
    if (m_spans.isEmpty()) {
        finish(true, QString());
        return;
    }
    request();
}

void StoreRepair::cancel()
{
    const bool running = !m_done;
    m_done = true;
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    // Staged files that were never put in place are nobody's.
    if (running || m_ready)
        discard();
    m_ready = false;
}

void StoreRepair::request()
{
    const FileStore::Span &span = m_spans.at(m_span);
    ++m_tries;
    m_why.clear();
    m_replyEnded = false;
    QNetworkRequest request(m_storeUrl);
    // A broken answer resumes where its bytes stopped; the decoder is where they left it.
    const qint64 from = span.offset + m_spanRead;
    m_requestEnd = std::min(span.length, m_spanRead + kMaxRequestBytes);
    request.setRawHeader("Range", QByteArrayLiteral("bytes=") + QByteArray::number(from) + '-' +
                                      QByteArray::number(span.offset + m_requestEnd - 1));
    request.setRawHeader("Accept-Encoding", "identity");
    // A redirect is an answer that is not the range: the full package is the way then.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(kTransferTimeoutMs);
    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(kReplyBuffer);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &StoreRepair::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &StoreRepair::pump);
    connect(m_reply, &QNetworkReply::finished, this, &StoreRepair::onFinished);
}

void StoreRepair::onMetaData()
{
    if (!m_reply || m_done)
        return;
    const FileStore::Span &span = m_spans.at(m_span);
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const qint64 from = span.offset + m_spanRead;
    const qint64 to = span.offset + m_requestEnd - 1;
    // A 200 would be the whole store: not a byte of it is read.
    if (status != 206) {
        stop(QStringLiteral("the store answered %1, not the range asked for").arg(status));
        return;
    }
    static const QRegularExpression contentRange(QStringLiteral("^bytes (\\d+)-(\\d+)/(\\d+)$"));
    const QRegularExpressionMatch match =
        contentRange.match(QString::fromLatin1(m_reply->rawHeader("Content-Range").trimmed()));
    if (!match.hasMatch() || match.captured(1).toLongLong() != from ||
        match.captured(2).toLongLong() != to || match.captured(3).toLongLong() != m_storeSize)
        stop(QStringLiteral("the store answered the range \"%1\" for bytes %2-%3/%4")
                 .arg(QString::fromLatin1(m_reply->rawHeader("Content-Range")))
                 .arg(from)
                 .arg(to)
                 .arg(m_storeSize));
}

void StoreRepair::onFinished()
{
    m_replyEnded = true;
    pump();
}

void StoreRepair::resume()
{
    m_resumeQueued = false;
    pump();
}

// Reads and decodes until the answer has nothing more for now or this step's output is spent;
// then the event loop runs before the next step.
void StoreRepair::pump()
{
    if (m_done || !m_reply)
        return;
    m_stepLeft = kStepBytes;
    const qint64 length = m_requestEnd;
    for (;;) {
        if (m_pending.isEmpty()) {
            if (m_reply->bytesAvailable() <= 0)
                break;
            // One byte beyond the range is enough to tell the answer is too long.
            m_pending = m_reply->read(std::min(kReadChunk, length - m_spanRead + 1));
            if (m_pending.isEmpty())
                break;
            m_received += m_pending.size();
            m_spanRead += m_pending.size();
            if (m_spanRead > length) {
                stop(QStringLiteral("the store sent more than the range asked for"));
                return;
            }
        }
        const qint64 used = consume(m_pending.constData(), m_pending.size());
        if (used < 0) {
            stop(m_why);
            return;
        }
        m_pending.remove(0, int(used));
        emit progress(m_spansDone + m_spanDone, plannedBytes());
        if (m_done)
            return; // stopped from a progress slot
        if (!m_pending.isEmpty()) {
            if (!m_resumeQueued) {
                m_resumeQueued = true;
                QTimer::singleShot(0, this, &StoreRepair::resume);
            }
            return;
        }
    }
    if (m_replyEnded)
        endReply();
}

void StoreRepair::endReply()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const qint64 length = m_spans.at(m_span).length;
    if (reply->error() != QNetworkReply::NoError || m_spanRead < m_requestEnd) {
        if (m_tries < kMaxTries) {
            request();
            return;
        }
        finish(false, QStringLiteral("the store's range stopped after %1 of %2 bytes: %3")
                          .arg(m_spanRead)
                          .arg(length)
                          .arg(reply->errorString()));
        return;
    }
    if (m_spanRead < length) {
        m_tries = 0;
        request();
        return;
    }
    if (m_object != m_objects.at(m_span).size()) {
        finish(false, QStringLiteral("the store's range ended inside an object"));
        return;
    }
    m_spansDone += length;
    m_spanRead = 0;
    m_spanDone = 0;
    m_object = 0;
    m_tries = 0;
    if (++m_span < m_spans.size()) {
        request();
        return;
    }
    finish(true, QString());
}

void StoreRepair::stop(const QString &why)
{
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    finish(false, why);
}

// Splits the span's bytes into its objects; the gaps between them are only counted. Gives how
// many bytes it used (fewer once the step's output is spent), or -1.
qint64 StoreRepair::consume(const char *data, qint64 size)
{
    const FileStore::Span &span = m_spans.at(m_span);
    const QList<Object> &objects = m_objects.at(m_span);
    qint64 used = 0;
    while (used < size && m_stepLeft > 0) {
        const qint64 at = span.offset + m_spanDone;
        qint64 take = size - used;
        if (m_object >= objects.size()) {
            // Past the last object: the span ends here anyway.
        } else if (at < objects.at(m_object).offset) {
            take = std::min(take, objects.at(m_object).offset - at);
        } else {
            const Object &object = objects.at(m_object);
            take = std::min(take, object.offset + object.length - at);
            if (!m_objectOpen && !openObject())
                return -1;
            take = feed(data + used, take);
            if (take < 0)
                return -1;
            if (at + take == object.offset + object.length) {
                if (!closeObject())
                    return -1;
                ++m_object;
            }
        }
        m_spanDone += take;
        used += take;
    }
    return used;
}

bool StoreRepair::stageFolders(const GameFileList::Entry &entry)
{
    if (platform::passesThroughLink(m_root, entry.path.toStdString())) {
        m_why = QStringLiteral("%1: a link is on the way").arg(entry.path);
        return false;
    }
    // Folders above a missing file, made as real folders only, and taken away again unless
    // the repair ends with its files in place.
    QStringList folders = entry.path.split(QLatin1Char('/'));
    folders.removeLast();
    QString above;
    for (const QString &name : qAsConst(folders)) {
        above += (above.isEmpty() ? QString() : QStringLiteral("/")) + name;
        const platform::EntryKind kind = platform::entryKindBelow(m_root, above.toStdString());
        if (kind == platform::EntryKind::Missing) {
            if (!platform::makeFolderBelow(m_root, above.toStdString())) {
                m_why = QStringLiteral("%1: cannot make the folder %2").arg(entry.path, above);
                return false;
            }
            m_madeFolders << above;
        } else if (kind != platform::EntryKind::Directory) {
            m_why = QStringLiteral("%1: %2 is not a folder").arg(entry.path, above);
            return false;
        }
    }
    return true;
}

bool StoreRepair::openObject()
{
    const Object &object = m_objects.at(m_span).at(m_object);
    m_sinks.clear();
    for (int i : object.entries) {
        const GameFileList::Entry &entry = m_entries.at(i);
        if (!stageFolders(entry))
            return false;
        const QString part = entry.path + kPartSuffix;
        platform::removeEntryBelow(m_root, part.toStdString());
        m_staged << part;
        auto sink = std::make_unique<Sink>();
        sink->entry = i;
        if (!sink->file.create(m_root, part.toStdString())) {
            m_why = QStringLiteral("%1: cannot write").arg(part);
            return false;
        }
        m_sinks.push_back(std::move(sink));
    }
    const GameFileList::Entry &first = m_entries.at(object.entries.first());
    m_written = 0;
    m_objectOpen = true;
    if (first.codec == QLatin1String("raw"))
        return true;
    if (first.codec != QLatin1String("zstd")) {
        m_why = QStringLiteral("%1: unknown codec \"%2\"").arg(first.path, first.codec);
        return false;
    }
    if (!m_zstd) {
        m_zstd = ZSTD_createDCtx();
        if (!m_zstd) {
            m_why = QStringLiteral("out of memory");
            return false;
        }
        // The largest window the store writer's frames may use.
        ZSTD_DCtx_setParameter(m_zstd, ZSTD_d_windowLogMax, 31);
        m_buffer.resize(kOutChunk);
    }
    ZSTD_DCtx_reset(m_zstd, ZSTD_reset_session_only);
    m_zstdLeft = 1;
    return true;
}

qint64 StoreRepair::feed(const char *data, qint64 size)
{
    const GameFileList::Entry &first = m_entries.at(m_sinks.front()->entry);
    if (first.codec == QLatin1String("raw")) {
        m_stepLeft -= size;
        return put(data, size) ? size : -1;
    }
    const auto decode = [&](ZSTD_inBuffer *in, ZSTD_outBuffer *out) {
        m_zstdLeft = ZSTD_decompressStream(m_zstd, out, in);
        if (ZSTD_isError(m_zstdLeft)) {
            m_why = QStringLiteral("%1: zstd: %2")
                        .arg(first.path, QLatin1String(ZSTD_getErrorName(m_zstdLeft)));
            return false;
        }
        m_stepLeft -= qint64(out->pos);
        return out->pos == 0 || put(m_buffer.data(), qint64(out->pos));
    };
    ZSTD_inBuffer in{data, size_t(size), 0};
    while (in.pos < in.size && m_stepLeft > 0) {
        if (m_zstdLeft == 0) {
            m_why = QStringLiteral("%1: the object is longer than its frame").arg(first.path);
            return -1;
        }
        ZSTD_outBuffer out{m_buffer.data(), m_buffer.size(), 0};
        if (!decode(&in, &out))
            return -1;
    }
    // The input is used up, but a full output buffer may hold back the rest of a block.
    while (in.pos == in.size && m_zstdLeft != 0) {
        ZSTD_outBuffer out{m_buffer.data(), m_buffer.size(), 0};
        if (!decode(&in, &out))
            return -1;
        if (out.pos == 0)
            break;
    }
    return qint64(in.pos);
}

bool StoreRepair::put(const char *data, qint64 size)
{
    const GameFileList::Entry &first = m_entries.at(m_sinks.front()->entry);
    if (m_written + size > first.size) {
        m_why = QStringLiteral("%1: the object gives more than %2 bytes")
                    .arg(first.path)
                    .arg(first.size);
        return false;
    }
    m_written += size;
    for (const std::unique_ptr<Sink> &sink : m_sinks) {
        sink->hash.addData(data, size);
        if (!sink->file.write(data, size_t(size))) {
            m_why = QStringLiteral("%1: cannot write").arg(m_entries.at(sink->entry).path);
            return false;
        }
    }
    return true;
}

bool StoreRepair::closeObject()
{
    m_objectOpen = false;
    const GameFileList::Entry &first = m_entries.at(m_sinks.front()->entry);
    if (first.codec != QLatin1String("raw") && m_zstdLeft != 0) {
        m_why = QStringLiteral("%1: the object ends early").arg(first.path);
        return false;
    }
    for (const std::unique_ptr<Sink> &sink : m_sinks) {
        const GameFileList::Entry &entry = m_entries.at(sink->entry);
        if (m_written != entry.size || sink->hash.resultHex().toLatin1() != entry.sha256) {
            m_why =
                QStringLiteral("%1: the store's object is not the published file").arg(entry.path);
            return false;
        }
        if (!sink->file.finish(entry.executable ? 0755 : 0644)) {
            m_why = QStringLiteral("%1: cannot write").arg(entry.path);
            return false;
        }
    }
    m_sinks.clear();
    return true;
}

// Every staged file and every folder made for one goes; the game folder is as it was.
void StoreRepair::discard()
{
    m_sinks.clear(); // closes what is open
    m_objectOpen = false;
    for (const QString &part : qAsConst(m_staged))
        platform::removeEntryBelow(m_root, part.toStdString());
    m_staged.clear();
    for (int i = m_madeFolders.size() - 1; i >= 0; --i)
        platform::removeFolderBelow(m_root, m_madeFolders.at(i).toStdString());
    m_madeFolders.clear();
}

void StoreRepair::finish(bool ok, const QString &why)
{
    if (m_done)
        return;
    m_done = true;
    if (!ok)
        discard();
    m_ready = ok;
    emit fetched(ok, why);
}

bool StoreRepair::write(QString *error)
{
    if (!m_ready) {
        *error = QStringLiteral("nothing was fetched to write");
        return false;
    }
    m_ready = false;
    for (const GameFileList::Entry &entry : qAsConst(m_entries)) {
        const QString part = entry.path + kPartSuffix;
        const auto failed = [&](const QString &what) {
            discard();
            *error = QStringLiteral("%1: %2").arg(
                QDir(QString::fromStdString(m_root)).filePath(entry.path), what);
            return false;
        };
        if (platform::passesThroughLink(m_root, entry.path.toStdString()))
            return failed(QStringLiteral("a link is on the way"));
        // An empty folder where the file belongs makes way; one with content does not.
        if (platform::entryKindBelow(m_root, entry.path.toStdString()) ==
                platform::EntryKind::Directory &&
            !platform::removeFolderBelow(m_root, entry.path.toStdString()))
            return failed(QStringLiteral("a folder is in the way"));
        if (!platform::replaceEntryBelow(m_root, part.toStdString(), entry.path.toStdString()))
            return failed(QStringLiteral("cannot replace"));
        m_staged.removeOne(part);
    }
    m_staged.clear();
    m_madeFolders.clear();
    return true;
}

#include "storerepair.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QThread>

#include "confinedentries.h"

namespace {
// Beside the file it replaces, so the rename stays in one folder.
const QString kPartSuffix = QStringLiteral(".repair-part");
constexpr qint64 kSlackPerFile = 1024 * 1024;
constexpr int kTransferTimeoutMs = 30000;
} // namespace

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
}

StoreRepair::~StoreRepair()
{
    cancel();
}

qint64 StoreRepair::budgetBytes() const
{
    qint64 budget = 0;
    for (const GameFileList::Entry &entry : m_entries)
        budget += entry.objectLength + kSlackPerFile;
    return budget;
}

void StoreRepair::fetch()
{
    m_span = 0;
    m_tries = 0;
    m_received = 0;
    m_done = false;
    m_bodies.clear();
    m_body.clear();
    request();
}

void StoreRepair::cancel()
{
    m_done = true;
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_decoder) {
        m_decoder->wait();
        delete m_decoder;
        m_decoder = nullptr;
    }
}

void StoreRepair::request()
{
    const FileStore::Span &span = m_spans.at(m_span);
    ++m_tries;
    m_why.clear();
    QNetworkRequest request(m_storeUrl);
    // A broken answer resumes where its bytes stopped.
    const qint64 from = span.offset + m_body.size();
    request.setRawHeader("Range", QByteArrayLiteral("bytes=") + QByteArray::number(from) + '-' +
                                      QByteArray::number(span.offset + span.length - 1));
    request.setRawHeader("Accept-Encoding", "identity");
    // A redirect is an answer that is not the range: the full package is the way then.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(kTransferTimeoutMs);
    m_reply = m_manager->get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &StoreRepair::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &StoreRepair::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &StoreRepair::onFinished);
}

void StoreRepair::onMetaData()
{
    if (!m_reply || !m_why.isEmpty())
        return;
    const FileStore::Span &span = m_spans.at(m_span);
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const qint64 from = span.offset + m_body.size();
    const qint64 to = span.offset + span.length - 1;
    // A 200 would be the whole store: not a byte of it is read.
    if (status != 206) {
        m_why = QStringLiteral("the store answered %1, not the range asked for").arg(status);
    } else {
        static const QRegularExpression contentRange(
            QStringLiteral("^bytes (\\d+)-(\\d+)/(\\d+)$"));
        const QRegularExpressionMatch match =
            contentRange.match(QString::fromLatin1(m_reply->rawHeader("Content-Range").trimmed()));
        if (!match.hasMatch() || match.captured(1).toLongLong() != from ||
            match.captured(2).toLongLong() != to || match.captured(3).toLongLong() != m_storeSize)
            m_why = QStringLiteral("the store answered the range \"%1\" for bytes %2-%3/%4")
                        .arg(QString::fromLatin1(m_reply->rawHeader("Content-Range")))
                        .arg(from)
                        .arg(to)
                        .arg(m_storeSize);
    }
    if (!m_why.isEmpty())
        m_reply->abort();
}

void StoreRepair::onReadyRead()
{
    if (!m_reply || !m_why.isEmpty())
        return;
    const qint64 length = m_spans.at(m_span).length;
    const QByteArray chunk = m_reply->read(length - m_body.size() + 1);
    m_received += chunk.size();
    if (m_body.size() + chunk.size() > length) {
        m_why = QStringLiteral("the store sent more than the range asked for");
        m_reply->abort();
        return;
    }
    m_body += chunk;
    qint64 done = m_body.size();
    for (const QByteArray &body : qAsConst(m_bodies))
        done += body.size();
    emit progress(done, plannedBytes());
}

void StoreRepair::onFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    if (m_done)
        return;
    if (!m_why.isEmpty()) {
        finish(false, m_why);
        return;
    }
    if (reply->bytesAvailable() > 0) {
        m_reply = reply; // what is left is read under the same cap
        onReadyRead();
        m_reply = nullptr;
        if (!m_why.isEmpty()) {
            finish(false, m_why);
            return;
        }
    }
    const qint64 length = m_spans.at(m_span).length;
    if (reply->error() != QNetworkReply::NoError || m_body.size() < length) {
        if (m_tries < kMaxTries) {
            request();
            return;
        }
        finish(false, QStringLiteral("the store's range stopped after %1 of %2 bytes: %3")
                          .arg(m_body.size())
                          .arg(length)
                          .arg(reply->errorString()));
        return;
    }
    m_bodies << m_body;
    m_body.clear();
    m_tries = 0;
    if (++m_span < m_spans.size()) {
        request();
        return;
    }
    decode();
}

// Decoding and hashing a large file takes long enough to freeze a window; a thread does it.
void StoreRepair::decode()
{
    m_contents.clear();
    for (int i = 0; i < m_entries.size(); ++i)
        m_contents << QByteArray();
    m_decoder = QThread::create([this] {
        for (int s = 0; s < m_spans.size() && m_why.isEmpty(); ++s) {
            const FileStore::Span &span = m_spans.at(s);
            for (int i : span.entries) {
                const GameFileList::Entry &entry = m_entries.at(i);
                const QByteArray object = m_bodies.at(s).mid(int(entry.objectOffset - span.offset),
                                                             int(entry.objectLength));
                if (!FileStore::decode(entry, object, &m_contents[i], &m_why))
                    break;
            }
        }
    });
    connect(m_decoder, &QThread::finished, this, [this] {
        m_decoder->deleteLater();
        m_decoder = nullptr;
        m_bodies.clear();
        finish(m_why.isEmpty(), m_why);
    });
    m_decoder->start();
}

void StoreRepair::finish(bool ok, const QString &why)
{
    if (m_done)
        return;
    m_done = true;
    if (!ok)
        m_contents.clear();
    emit fetched(ok, why);
}

bool StoreRepair::write(const QString &folder, QString *error)
{
    if (m_contents.size() != m_entries.size()) {
        *error = QStringLiteral("nothing was fetched to write");
        return false;
    }
    const std::string root = QDir::toNativeSeparators(folder).toStdString();
    for (int i = 0; i < m_entries.size(); ++i) {
        const GameFileList::Entry &entry = m_entries.at(i);
        const QString part = entry.path + kPartSuffix;
        const auto failed = [&](const QString &what) {
            platform::removeEntryBelow(root, part.toStdString());
            *error = QStringLiteral("%1: %2").arg(QDir(folder).filePath(entry.path), what);
            return false;
        };
        if (platform::passesThroughLink(root, entry.path.toStdString()))
            return failed(QStringLiteral("a link is on the way"));
        // Folders above a missing file, made as real folders only.
        QStringList folders = entry.path.split(QLatin1Char('/'));
        folders.removeLast();
        QString above;
        for (const QString &name : qAsConst(folders)) {
            above += (above.isEmpty() ? QString() : QStringLiteral("/")) + name;
            const platform::EntryKind kind = platform::entryKindBelow(root, above.toStdString());
            if (kind == platform::EntryKind::Missing &&
                !platform::makeFolderBelow(root, above.toStdString()))
                return failed(QStringLiteral("cannot make the folder %1").arg(above));
            if (kind != platform::EntryKind::Missing && kind != platform::EntryKind::Directory)
                return failed(QStringLiteral("%1 is not a folder").arg(above));
        }
        // An empty folder where the file belongs makes way; one with content does not.
        if (platform::entryKindBelow(root, entry.path.toStdString()) ==
                platform::EntryKind::Directory &&
            !platform::removeFolderBelow(root, entry.path.toStdString()))
            return failed(QStringLiteral("a folder is in the way"));
        platform::removeEntryBelow(root, part.toStdString());
        const QByteArray &content = m_contents.at(i);
        platform::NewFileBelow file;
        if (!file.create(root, part.toStdString()) ||
            !file.write(content.constData(), size_t(content.size())) ||
            !file.finish(entry.executable ? 0755 : 0644))
            return failed(QStringLiteral("cannot write"));
        if (!platform::replaceEntryBelow(root, part.toStdString(), entry.path.toStdString()))
            return failed(QStringLiteral("cannot replace"));
    }
    m_contents.clear();
    return true;
}

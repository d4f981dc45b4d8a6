#include "downloadmanager.h"

#include "downloadtask.h"
#include "filespace.h"
#include "md5checkworker.h"
#include "packagefilename.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkRequest>
#include <QSslError>

#include <cerrno>

using namespace ErrorDefine;

namespace {
// Consecutive fast writes, shared by every manager of the process (main thread only): after a
// slow write the network intake shrinks until the disk has kept up for a while.
int s_fastWrites = 0;
constexpr int kFastWritesBeforeFullBuffer = 50;
constexpr qint64 kSlowReadBufferSize = 1024;
constexpr qint64 kSlowWriteMs = 1000;
// The record is written at most this often while bytes stream in (and at once on every pause,
// failure or exit). On Linux each record write rewrites and fsyncs the settings file, which at
// one write per 50 KiB piece cut throughput to a few MiB/s; a record that lags by a fraction
// of a second only means re-fetching those bytes after a crash, never a wrong file.
constexpr qint64 kRecordIntervalMs = 200;
// More hops than any real mirror chain; a loop of redirects must end in an error.
constexpr int kMaxRedirects = 20;
// A replaced object starts the file over; one that changes at every request must end.
constexpr int kMaxObjectChanges = 3;

// The extra keys of a resume record: the object the recorded bytes came from. Records written
// before these existed resume as they always did.
const QString kEtagKey = QStringLiteral("etag");
const QString kLastModifiedKey = QStringLiteral("last_modified");
const QString kSizeKey = QStringLiteral("size");

bool isEtag(const QByteArray &validator)
{
    return validator.startsWith('"');
}

// Where the name a redirected address resolved to is remembered, so that a later run finds its
// partial or complete file before the size answer comes back.
const QString kSavedNamesGroup = QStringLiteral("saved_names");

QString savedNameKey(const QUrl &requestUrl)
{
    return kSavedNamesGroup + QLatin1Char('/') +
           QString::fromLatin1(QUrl::toPercentEncoding(requestUrl.toString(QUrl::FullyEncoded)));
}

bool isFollowedRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 305 || status == 307 ||
           status == 308;
}
} // namespace

downloadmanager::downloadmanager(QObject *parent)
    : QObject(parent)
    , m_stallTimeoutMs(downloadtask::kDefaultStallTimeoutMs)
{
    registerMetaTypes();
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    connect(&m_digest, &streamdigest::finished, this,
            [this](const QString &md5, const QString &sha256, qint64 size) {
                // The part already on disk at a resume could not be read back: read it all.
                if (md5.isEmpty())
                    startDigestWorker(finalFilePath(), signatureRequired());
                else
                    onDigests(md5, sha256, size);
            });
    connect(&m_records, &recordwriter::renamed, this, &downloadmanager::renameFinished);
}

downloadmanager::~downloadmanager()
{
    abortSizeRequest();
    for (downloadtask *task : qAsConst(m_tasks))
        task->stop();
    flushRecord(true);
    if (m_file)
        m_file->close();
    m_settings.sync();
    // A hashing thread must never outlive the object it reports to unnoticed.
    for (const QPointer<QThread> &thread : qAsConst(m_md5Threads)) {
        if (!thread)
            continue;
        thread->requestInterruption();
        thread->quit();
        thread->wait();
    }
}

QString downloadmanager::tempFilePath() const
{
    return finalFilePath() + QStringLiteral("_tmp");
}

QString downloadmanager::finalFilePath() const
{
    return m_folder + QLatin1Char('/') + m_fileName;
}

QString downloadmanager::savedFileName(const QUrl &requestUrl) const
{
    // A record written by an older launcher may hold any name a redirect ended in.
    const QString saved = m_settings.value(savedNameKey(requestUrl)).toString();
    return isPackageFileName(saved) ? saved : addressFileName(requestUrl);
}

QString downloadmanager::addressFileName(const QUrl &url)
{
    // Packages land beside the launcher or the game: an address ending in "config.ini", the
    // program's own name or a library the system loads from that folder must not choose what
    // gets replaced. Such bytes go under a name made from the whole address, stable across
    // starts so the download can resume.
    const QString name = url.fileName();
    if (isPackageFileName(name))
        return name;
    const QByteArray digest =
        QCryptographicHash::hash(url.toEncoded(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("download-%1.7z").arg(QString::fromLatin1(digest));
}

bool downloadmanager::isPackageFileName(const QString &name)
{
    return PackageFileName::isPlain(name);
}

QString downloadmanager::dispositionFileName(const QByteArray &header)
{
    // filename*=UTF-8''name wins over filename="name" (RFC 6266).
    QString plain;
    for (const QByteArray &rawPart : header.split(';')) {
        const QByteArray part = rawPart.trimmed();
        const int eq = part.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = part.left(eq).trimmed().toLower();
        QByteArray value = part.mid(eq + 1).trimmed();
        if (key == "filename*") {
            const int quote = value.indexOf("''");
            if (quote >= 0 && value.left(quote).toLower() == "utf-8")
                return QString::fromUtf8(QByteArray::fromPercentEncoding(value.mid(quote + 2)));
        } else if (key == "filename") {
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2);
            plain = QString::fromUtf8(value);
        }
    }
    return plain;
}

void downloadmanager::adoptResolvedName()
{
    // The answer's name first, then the server's, then the address's: an address such as
    // "download.php?file=..." says nothing about the package's format. A redirect to something
    // that is no package's name (a folder, "config.ini") keeps the requested address's name.
    QString name = m_url.fileName();
    if (!isPackageFileName(name))
        name = addressFileName(m_requestedUrl);
    if (isPackageFileName(m_packageName))
        name = m_packageName;
    else if (isPackageFileName(m_dispositionName))
        name = m_dispositionName;
    if (name == addressFileName(m_requestedUrl))
        m_settings.remove(savedNameKey(m_requestedUrl));
    else
        m_settings.setValue(savedNameKey(m_requestedUrl), name);
    if (name == m_fileName)
        return;
    // The address now leads to another file: the transfer into the old one must stop. Its
    // partial file and record stay, as for any other package left behind.
    flushRecord();
    releaseTransfer();
    m_fileName = name;
}

QString downloadmanager::recordKey(int taskId) const
{
    return recordGroup() + QLatin1Char('/') + QString::number(taskId);
}

void downloadmanager::setStallTimeout(int ms)
{
    m_stallTimeoutMs = ms;
    for (downloadtask *task : qAsConst(m_tasks))
        task->setStallTimeout(ms);
}

void downloadmanager::setUrl(QUrl requestUrl)
{
    if (requestUrl != m_requestedUrl) {
        m_digestedFile.clear();
        // Another package: the old one's file and task must not receive the new bytes. Its
        // "_tmp" file and record stay, so it can still be resumed later.
        flushRecord();
        releaseTransfer();
        abortSizeRequest();
        m_downloading = false;
    }
    m_requestedUrl = requestUrl;
    m_url = requestUrl;
    m_fileName = isPackageFileName(m_packageName) ? m_packageName : savedFileName(requestUrl);
    m_redirects = 0;
    m_objectChanges = 0;
    if (!m_sizePending)
        sendSizeRequest();
}

void downloadmanager::setFilePath(QString path)
{
    m_folder = path;
}

void downloadmanager::setFileMD5(QString md5)
{
    m_expectedMd5 = md5;
}

void downloadmanager::setExpectedPackage(const SignedPackage &package)
{
    m_admission.expect(package);
}

void downloadmanager::setUntrustedArt()
{
    m_admission.allowUntrustedArt();
}

void downloadmanager::clearExpectedPackage()
{
    m_admission.clear();
}

bool downloadmanager::signatureRequired() const
{
    return m_admission.checksFile();
}

qint64 downloadmanager::getDownloadedSize()
{
    qint64 sum = 0;
    for (downloadtask *task : qAsConst(m_tasks))
        sum += task->downloaded();
    return sum;
}

qint64 downloadmanager::getTotalSize()
{
    return m_totalSize;
}

void downloadmanager::sendSizeRequest()
{
    qDebug() << "Getting the file size...";
    m_sizePending = true;
    m_sizeKnown = false;
    QNetworkRequest request(m_url);
    request.setRawHeader("Accept-Encoding", "identity");
    m_sizeReply = m_network.head(request);
    m_sizeSslErrors.clear();
    connect(m_sizeReply, &QNetworkReply::sslErrors, this,
            [this](const QList<QSslError> &errors) { m_sizeSslErrors = errors; });
    connect(m_sizeReply, &QNetworkReply::finished, this, &downloadmanager::headerResponseFinished,
            Qt::DirectConnection);
}

void downloadmanager::abortSizeRequest()
{
    if (!m_sizeReply)
        return;
    QNetworkReply *reply = m_sizeReply;
    m_sizeReply = nullptr;
    m_sizePending = false;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

void downloadmanager::useFallbackSize(int status, const QString &why)
{
    // HEAD only saves a request: pre-signed object-store addresses refuse it and some servers
    // give no length. The answer's size is enough for ranged GETs, which the tasks check.
    qDebug().noquote() << QStringLiteral("No size from the server (%1, %2); using the answer's %3")
                              .arg(status)
                              .arg(why)
                              .arg(m_expectedSize);
    m_totalSize = m_expectedSize;
    m_sizeKnown = true;
    m_headValidator.clear();
    adoptResolvedName();
    if (m_downloading)
        startDownload();
}

void downloadmanager::failSizeRequest(int status)
{
    m_downloading = false;
    emit downloadError(DOWNLOAD_NETWORK_GETHEADER_ERROR,
                       tr("message_error_resource_acquisition_failed") +
                           QStringLiteral("(%1)").arg(status));
}

void downloadmanager::headerResponseFinished()
{
    m_sizePending = false;
    QNetworkReply *reply = m_sizeReply;
    m_sizeReply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_dispositionName = dispositionFileName(reply->rawHeader("Content-Disposition"));

    if (reply->error() != QNetworkReply::NoError && !isFollowedRedirect(status)) {
        reply->close();
        // A certificate problem is the same for the GET: say so now in plain words.
        if (reply->error() == QNetworkReply::SslHandshakeFailedError || m_expectedSize <= 0) {
            if (reply->error() == QNetworkReply::SslHandshakeFailedError) {
                m_downloading = false;
                bool wrongName = false;
                for (const QSslError &e : m_sizeSslErrors)
                    wrongName |= e.error() == QSslError::HostNameMismatch;
                emit downloadError(wrongName ? DOWNLOAD_CERTIFICATE_WRONG_NAME
                                             : DOWNLOAD_CERTIFICATE_UNTRUSTED,
                                   wrongName ? tr("message_error_certificate_wrong_name")
                                             : tr("message_error_certificate_untrusted"));
                return;
            }
            failSizeRequest(status);
            return;
        }
        useFallbackSize(status, reply->errorString());
        return;
    }

    if (status == 200 || status == 206) {
        bool ok = false;
        const qint64 size = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&ok);
        // Without a length there is nothing to preallocate and no way to tell completion,
        // unless the answer gave the size.
        if (!ok || size < 0) {
            if (m_expectedSize > 0)
                useFallbackSize(status, QStringLiteral("no length"));
            else
                failSizeRequest(status);
            return;
        }
        m_totalSize = size;
        m_sizeKnown = true;
        const QByteArray etag = reply->rawHeader("ETag").trimmed();
        m_headValidator = !etag.isEmpty() && !etag.startsWith("W/")
                              ? etag
                              : reply->rawHeader("Last-Modified").trimmed();
        adoptResolvedName();
        qDebug() << "The file size is: " << m_totalSize;
        if (m_downloading)
            startDownload();
        return;
    }

    if (isFollowedRedirect(status)) {
        const QVariant target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
        qDebug() << "redirectionTarget:" << target;
        const QUrl targetUrl = target.toUrl();
        if (targetUrl.isValid() && !targetUrl.isEmpty() && m_redirects < kMaxRedirects) {
            const QUrl next = m_url.resolved(targetUrl);
            // A package asked for over HTTPS is never fetched in the clear.
            if (m_url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
                next.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) != 0) {
                m_downloading = false;
                emit downloadError(HTTP_INSECURE_REDIRECT, tr("message_insecure_redirect") +
                                                               QLatin1Char(' ') + next.toString());
                return;
            }
            ++m_redirects;
            m_url = next;
            sendSizeRequest();
            return;
        }
    }
    if (m_expectedSize > 0)
        useFallbackSize(status, QStringLiteral("refused"));
    else
        failSizeRequest(status);
}

void downloadmanager::initTasks()
{
    // A task made before the size is known would cover an empty range and never fetch.
    if (m_url.isEmpty() || m_folder.isEmpty() || !m_sizeKnown)
        return;

    if (!QFile::exists(tempFilePath())) {
        m_settings.remove(recordGroup());
        // The user deleted the partial file under a paused download: start over from 0.
        if (m_file || !m_tasks.isEmpty())
            releaseTransfer();
    }

    while (m_tasks.size() < 1) {
        const int id = m_tasks.size();
        qint64 count = m_settings.value(recordKey(id), 0).toLongLong();
        // A record that claims more than the package, or than the partial file holds, is
        // damaged or stale: the bytes it counts are not on disk.
        const qint64 onDisk = m_file ? m_totalSize : QFileInfo(tempFilePath()).size();
        if (count < 0 || count > m_totalSize || count > onDisk)
            count = 0;
        // The recorded bytes belong to the object the record names. When the server already
        // named another one, or another size, they are worth nothing: start over.
        QByteArray validator = recordedValidator();
        const qint64 recordedSize =
            m_settings.value(recordGroup() + QLatin1Char('/') + kSizeKey, -1).toLongLong();
        if (count > 0 &&
            ((!validator.isEmpty() && !m_headValidator.isEmpty() && validator != m_headValidator) ||
             (recordedSize >= 0 && recordedSize != m_totalSize))) {
            qDebug() << "The partial file came from another object; starting over";
            count = 0;
        }
        if (count == 0)
            validator.clear();
        // The digests start over with every new transfer, from the bytes already on disk. Only
        // a signature check needs the SHA-256; without one the MD5 worker reads the file once
        // at the end, as it always did.
        m_digestedFile.clear();
        m_digest.reset();
        m_streamDigests = signatureRequired();
        if (m_streamDigests)
            m_digest.follow(tempFilePath(), count);
        auto *task = new downloadtask(this);
        task->setStallTimeout(m_stallTimeoutMs);
        task->setUrl(m_url, 0, m_totalSize, count, id);
        // An old record without a validator resumes as before, trusting the HEAD's object.
        task->setValidator(validator.isEmpty() && count > 0 ? m_headValidator : validator);
        connect(task, &downloadtask::objectChanged, this, &downloadmanager::onObjectChanged);
        connect(task, &downloadtask::objectIdentified, this, &downloadmanager::onObjectIdentified);
        connect(task, &downloadtask::progress, this, &downloadmanager::networkReplyProgress);
        connect(task, &downloadtask::readyRead, this, &downloadmanager::httpReadyRead);
        connect(task, &downloadtask::networkError, this, &downloadmanager::httpNetworkError);
        connect(task, &downloadtask::httpStatusCodeError, this,
                &downloadmanager::httpStatusCodeError);
        m_tasks.append(task);
    }
    emit downloadReplyProgress(getDownloadedSize(), m_totalSize);
}

void downloadmanager::startDownload()
{
    // The complete file is being renamed: there is nothing left to fetch.
    if (m_renaming)
        return;
    // A statement that cannot pass costs no byte, and retrying fetches nothing either.
    ErrorCode refusal = PACKAGE_SIGNATURE_ERROR;
    QString why;
    if (!m_admission.admitRequest(&refusal, &why)) {
        qWarning() << "package signature:" << m_url.toString() << why;
        m_downloading = false;
        QMetaObject::invokeMethod(
            this,
            [this, refusal, why] {
                emit downloadError(refusal, PackageTrust::errorMessage(refusal, why));
            },
            Qt::QueuedConnection);
        return;
    }
    m_downloading = true;
    if (m_sizePending)
        return; // the size answer starts the download

    if (!m_sizeKnown) {
        // Preallocating before the size is known would create an empty file and "finish" it.
        if (m_url.isEmpty())
            m_downloading = false;
        else
            sendSizeRequest();
        return;
    }

    initTasks();
    if (m_tasks.isEmpty()) {
        m_downloading = false;
        return;
    }
    if (!m_file && !openTempFile())
        return;

    // Everything may already be on disk (a run that ended between its last write and the
    // rename): no request would be sent, so finish here.
    if (getDownloadedSize() >= m_totalSize) {
        completeDownload();
        return;
    }
    for (downloadtask *task : qAsConst(m_tasks))
        task->start();
}

bool downloadmanager::openTempFile()
{
    const QString path = tempFilePath();
    const QFileInfo before(path);
    const bool existed = before.exists();
    const qint64 oldSize = existed ? before.size() : 0;

    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadWrite)) {
        qDebug() << file->errorString();
        m_downloading = false;
        emit downloadError(DOWNLOAD_OPEN_FILE_ERROR, tr("message_error_open_file_failed"));
        return false;
    }
    if (!file->resize(m_totalSize) || platform::reserveFileSpace(file->handle(), m_totalSize)) {
        // Leave the disk as it was: no new empty file, no partial file grown or cut.
        file->close();
        if (!existed)
            QFile::remove(path);
        else if (QFileInfo(path).size() != oldSize)
            QFile::resize(path, oldSize);
        m_downloading = false;
        emit downloadError(DOWNLOAD_EXIST_SIZE_ERROR, tr("message_disk_not_enough_space"));
        return false;
    }
    m_file = std::move(file);
    return true;
}

downloadtask *downloadmanager::taskById(int taskId) const
{
    for (downloadtask *task : m_tasks) {
        if (task->taskId() == taskId)
            return task;
    }
    return nullptr;
}

void downloadmanager::failWrite(ErrorCode code, const QString &msg)
{
    emit downloadError(code, msg);
    stopDownlaod();
}

void downloadmanager::httpReadyRead(QByteArray buffer, qint64 startPosition, int taskId)
{
    downloadtask *task = taskById(taskId);
    // Pieces arrive in order, so the position is nearly always where the last write ended.
    if (!m_file || !task || (m_file->pos() != startPosition && !m_file->seek(startPosition))) {
        failWrite(DOWNLOAD_WRITE_BUFFER_ERROR, tr("message_error_download_write_buffer"));
        return;
    }

    QElapsedTimer clock;
    clock.start();
    const qint64 written = m_file->write(buffer);
    if (clock.elapsed() >= kSlowWriteMs) {
        s_fastWrites = 0;
        task->setReadBufferSize(kSlowReadBufferSize);
    } else if (++s_fastWrites > kFastWritesBeforeFullBuffer) {
        task->setReadBufferSize(downloadtask::kReadBufferSize);
    }

    // A short write would silently leave a hole: the next piece goes after the counted bytes.
    errno = 0;
    const bool flushed = written == buffer.size() && m_file->flush();
    if (!flushed) {
        if (errno == ENOSPC || errno == EDQUOT)
            failWrite(DOWNLOAD_DISK_FULL, tr("message_error_disk_full"));
        else if (written != buffer.size())
            failWrite(DOWNLOAD_WRITE_BUFFER_ERROR, tr("message_error_download_write_buffer"));
        else
            failWrite(DOWNLOAD_FLUSH_ERROR, tr("message_error_download_flush"));
        return;
    }
    task->addDownloaded(written);
    if (m_streamDigests)
        m_digest.written(startPosition, written);
    m_recordDirty = true;
    if (!m_recordClock.isValid() || m_recordClock.elapsed() >= kRecordIntervalMs)
        flushRecord();
}

void downloadmanager::flushRecord(bool now)
{
    if (!m_recordDirty) {
        // A store still on its way reaches the disk before a pause returns: a launcher killed
        // right after it resumes from the record of what the file holds.
        if (now)
            m_records.waitForStores();
        return;
    }
    m_recordDirty = false;
    m_recordClock.start();
    // The counts are taken after their bytes were written, so the record never claims more
    // than the file holds, however late the writer gets to it.
    for (downloadtask *task : qAsConst(m_tasks)) {
        if (now)
            m_records.storeNow(recordKey(task->taskId()), task->downloaded());
        else
            m_records.store(recordKey(task->taskId()), task->downloaded());
    }
}

void downloadmanager::networkReplyProgress(qint64 size)
{
    if (size <= 0)
        return;
    const qint64 done = getDownloadedSize();
    emit downloadReplyProgress(done, m_totalSize);
    if (m_file && done >= m_totalSize)
        completeDownload();
}

void downloadmanager::completeDownload()
{
    if (m_renaming)
        return;
    for (downloadtask *task : qAsConst(m_tasks))
        task->stop();
    if (m_file) {
        m_file->close();
        m_file.reset();
    }
    m_downloading = false;
    // The rename and the record's removal wait behind the queued record saves on the writer's
    // thread: renaming a large file just written and syncing the settings file can each hold a
    // thread for a noticeable time while the disk writes the package back.
    // Should the rename fail, the record then says the whole file is there.
    flushRecord();
    m_renaming = true;
    m_records.finish(recordGroup(), tempFilePath(), finalFilePath());
}

void downloadmanager::renameFinished(bool ok)
{
    m_renaming = false;
    if (!ok) {
        // The complete "_tmp" file, its task and its record stay: the next start renames it.
        emit downloadError(SETUP_DELETE_OLD_GAME_ERROR, tr("message_setup_delete_old_file_error"));
        return;
    }
    if (m_streamDigests && m_digest.isValid() && m_digest.covered() == m_totalSize)
        m_digestedFile = finalFilePath();
    const QList<downloadtask *> done = m_tasks;
    m_tasks.clear();
    for (downloadtask *task : done) {
        task->reset();
        task->deleteLater(); // we may be inside one of its signals
    }
    emit downloadFinished();
}

void downloadmanager::releaseTransfer()
{
    m_recordDirty = false;
    m_digest.reset();
    const QList<downloadtask *> old = m_tasks;
    m_tasks.clear();
    for (downloadtask *task : old) {
        task->stop();
        task->deleteLater();
    }
    if (m_file) {
        m_file->close();
        m_file.reset();
    }
}

void downloadmanager::stopDownlaod()
{
    m_downloading = false;
    for (downloadtask *task : qAsConst(m_tasks))
        task->stop();
    // A launcher killed right after a pause must resume from exactly the bytes on disk.
    flushRecord(true);
}

void downloadmanager::resetDownload()
{
    const QString path = finalFilePath();
    if (!QFile::remove(path))
        QFile::remove(path);
}

bool downloadmanager::anyTaskRunning() const
{
    for (downloadtask *task : m_tasks) {
        if (!task->isStopped())
            return true;
    }
    return false;
}

void downloadmanager::httpNetworkError(QNetworkReply::NetworkError error, QString msg)
{
    Q_UNUSED(msg)
    if (!anyTaskRunning())
        m_downloading = false;
    flushRecord();
    if (error == QNetworkReply::SslHandshakeFailedError) {
        auto *task = qobject_cast<downloadtask *>(sender());
        bool wrongName = false;
        if (task) {
            for (const QSslError &e : task->sslErrors())
                wrongName |= e.error() == QSslError::HostNameMismatch;
        }
        emit httpError(wrongName ? DOWNLOAD_CERTIFICATE_WRONG_NAME : DOWNLOAD_CERTIFICATE_UNTRUSTED,
                       wrongName ? tr("message_error_certificate_wrong_name")
                                 : tr("message_error_certificate_untrusted"));
        return;
    }
    emit httpError(DOWNLOAD_NETWORK_REPLY_ERROR,
                   QStringLiteral("%1(%2)").arg(tr("message_error_network_reply")).arg(int(error)));
}

QString downloadmanager::statusMessage(int status) const
{
    return QStringLiteral("%1(%2)").arg(tr("message_error_network_statuscode")).arg(status);
}

void downloadmanager::httpStatusCodeError(int error, QString msg)
{
    Q_UNUSED(msg)
    if (!anyTaskRunning())
        m_downloading = false;
    flushRecord();
    if (error == 503 || error == 429 || error == 502 || error == 504 || error == 500 ||
        error == 408) {
        // The task already waited and retried; the partial file stays for the next click.
        emit downloadError(
            DOWNLOAD_SERVER_BUSY,
            QStringLiteral("%1(%2)").arg(tr("message_error_server_busy")).arg(error));
        return;
    }
    // A package that vanished under a paused download was most likely replaced by a publish:
    // the answer knows where its successor lies.
    if ((error == 404 || error == 410) && m_refreshOnStale) {
        holdForRefresh(DOWNLOAD_FILE_GONE,
                       QStringLiteral("%1(%2)").arg(tr("message_error_file_gone")).arg(error));
        return;
    }
    resetDownload();
    emit downloadError(DOWNLOAD_NETWORK_ERROR, statusMessage(error));
}

void downloadmanager::holdForRefresh(ErrorCode code, const QString &msg)
{
    for (downloadtask *task : qAsConst(m_tasks))
        task->stop();
    flushRecord(true);
    m_downloading = false;
    m_refreshPending = true;
    m_heldCode = code;
    m_heldMessage = msg;
    emit sourceRefreshNeeded();
}

void downloadmanager::sourceRefreshed(QUrl url, QString md5, qint64 size, QString name)
{
    if (!m_refreshPending)
        return;
    m_refreshPending = false;
    const ErrorCode code = m_heldCode;
    const QString message = m_heldMessage;
    const QString staleMd5 = m_staleMd5;
    m_staleMd5.clear();

    if (code == DOWNLOAD_MD5_ERROR) {
        const bool answered = !url.isEmpty();
        // The file is what the new answer describes (it was replaced while we fetched it).
        if (answered && !md5.isEmpty() && md5.compare(m_fileMd5, Qt::CaseInsensitive) == 0) {
            m_expectedMd5 = md5;
            m_expectedSize = size;
            onDigests(m_fileMd5, m_fileSha256, m_fileSize);
            return;
        }
        resetDownload();
        // Same answer: the bytes were damaged on the way. Another answer: fetch what it names.
        if (!answered || md5.compare(staleMd5, Qt::CaseInsensitive) == 0) {
            emit downloadError(code, message);
            return;
        }
    } else if (url.isEmpty() || url == m_requestedUrl) {
        emit downloadError(code, message);
        return;
    } else {
        // The package at the old address is gone for good: so is its partial file.
        releaseTransfer();
        QFile::remove(tempFilePath());
        m_settings.remove(recordGroup());
    }
    m_expectedMd5 = md5;
    m_expectedSize = size;
    m_packageName = name;
    setUrl(url);
    startDownload();
}

void downloadmanager::onObjectChanged(const QByteArray &validator, qint64 size)
{
    qDebug() << "The package changed on the server; starting its file over" << validator << size;
    releaseTransfer();
    QFile::remove(tempFilePath());
    // Nothing of the old object counts any more.
    m_records.storeNow(recordKey(0), 0);
    m_records.storeValueNow(recordGroup() + QLatin1Char('/') + kSizeKey, -1);
    m_headValidator.clear();
    if (++m_objectChanges > kMaxObjectChanges) {
        m_downloading = false;
        emit downloadError(DOWNLOAD_FILE_CHANGED, tr("message_error_file_changed"));
        return;
    }
    if (size > 0) {
        m_totalSize = size;
        m_sizeKnown = true;
    } else {
        m_sizeKnown = false;
    }
    if (m_downloading)
        startDownload();
}

void downloadmanager::onObjectIdentified(const QByteArray &validator, qint64 size)
{
    const QString group = recordGroup() + QLatin1Char('/');
    const QString text = QString::fromLatin1(validator);
    m_records.storeValueNow(group + kEtagKey, isEtag(validator) ? text : QString());
    m_records.storeValueNow(group + kLastModifiedKey, isEtag(validator) ? QString() : text);
    m_records.storeValueNow(group + kSizeKey, size >= 0 ? size : m_totalSize);
}

QByteArray downloadmanager::recordedValidator() const
{
    const QString group = recordGroup() + QLatin1Char('/');
    const QString etag = m_settings.value(group + kEtagKey).toString();
    if (!etag.isEmpty())
        return etag.toLatin1();
    return m_settings.value(group + kLastModifiedKey).toString().toLatin1();
}

void downloadmanager::fileMd5(QString filePath)
{
    const bool streamed = !m_digestedFile.isEmpty() && filePath == m_digestedFile;
    m_digestedFile.clear();
    if (streamed)
        m_digest.finish(); // every byte was hashed as it arrived
    else
        startDigestWorker(filePath, signatureRequired());
    emit md5CheckStart();
}

void downloadmanager::startDigestWorker(const QString &filePath, bool wantSha256)
{
    auto *thread = new QThread;
    auto *worker = new md5checkworker(filePath);
    worker->setWantSha256(wantSha256);
    worker->moveToThread(thread);
    connect(thread, &QThread::started, worker, &md5checkworker::md5);
    if (wantSha256)
        connect(worker, &md5checkworker::digestsFinished, this, &downloadmanager::onDigests);
    else
        connect(worker, &md5checkworker::md5Checkfinished, this, &downloadmanager::getFileMd5);
    connect(worker, &md5checkworker::md5Checkfinished, thread, &QThread::quit);
    connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_md5Threads.removeAll(QPointer<QThread>());
    m_md5Threads.append(thread);
    thread->start(QThread::InheritPriority);
}

void downloadmanager::getFileMd5(QString fileMD5)
{
    onDigests(fileMD5, QString(), -1);
}

void downloadmanager::onDigests(const QString &md5, const QString &sha256, qint64 size)
{
    if (!m_expectedMd5.isEmpty() && m_expectedMd5.compare(md5, Qt::CaseInsensitive) != 0) {
        // The answer may be older than the package: ask again before calling it damaged. The
        // file stays until the new answer says whether it is the right one after all.
        if (m_refreshOnStale && !md5.isEmpty()) {
            m_fileMd5 = md5;
            m_fileSha256 = sha256;
            m_fileSize = size;
            m_staleMd5 = m_expectedMd5;
            m_refreshPending = true;
            m_heldCode = DOWNLOAD_MD5_ERROR;
            m_heldMessage = tr("message_error_download_md5");
            emit sourceRefreshNeeded();
            return;
        }
        resetDownload();
        emit downloadError(DOWNLOAD_MD5_ERROR, tr("message_error_download_md5"));
        return;
    }
    if (signatureRequired()) {
        QString why;
        ErrorCode refusal = PACKAGE_SIGNATURE_ERROR;
        if (!m_admission.admitFile(md5, sha256, size, &refusal, &why)) {
            qWarning() << "package signature:" << finalFilePath() << why;
            // Nothing of an unsigned package may stay where a later run would take it.
            resetDownload();
            emit downloadError(refusal, PackageTrust::errorMessage(refusal, why));
            return;
        }
        qDebug() << "package signature: verified" << finalFilePath();
    }
    emit md5CheckFinish();
}

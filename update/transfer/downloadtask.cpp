#include "downloadtask.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>

#include "diskspace.h"
#include "errordefine.h"
#include "md5checkworker.h"
#include "taskmodel.h"

namespace {
constexpr int kReadBufferSize = 51200;
constexpr int kSlowReadBufferSize = 1024;
constexpr int kQuickWritesBeforeFullBuffer = 50;
constexpr int kMaxRetries = 5;
// A HEAD chain longer than this is a loop, not a move.
constexpr int kMaxRedirects = 10;

// Shared by every task: a slow disk anywhere makes every transfer hold back.
int s_quickWrites = 0;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 305 || status == 307 ||
           status == 308;
}
} // namespace

DownloadTask::DownloadTask(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(10000);
}

DownloadTask::~DownloadTask()
{
    stop(true);
    releaseTask();
}

void DownloadTask::setTaskModel(TaskModel *taskModel)
{
    delete m_taskModel;
    m_taskModel = new TaskModel;
    m_taskModel->url = taskModel->url;
    m_taskModel->md5 = taskModel->md5;
    m_taskModel->folder = taskModel->folder;
    m_taskModel->fileSize = taskModel->fileSize;
    m_url = QUrl(taskModel->url);
}

void DownloadTask::start(bool force)
{
    // A resume while a digest runs would start a second digest or a transfer beside it.
    if (!m_taskModel || m_digesting)
        return;
    if (!force && checkExistFile())
        return;
    if (!m_stopped || m_done)
        return;
    m_stopped = false;

    const QString folder = m_taskModel->folder;
    if (!QDir(folder).exists() && !QDir().mkpath(folder)) {
        failTask(ErrorDefine::SETUP_CREATE_FOLDER_ERROR, tr("message_setup_create_floder_error"));
        return;
    }
    if (!m_file) {
        m_file = new QFile(m_taskModel->partialFilePath());
        if (!m_file->open(QIODevice::Append)) {
            qDebug() << m_file->errorString();
            failTask(ErrorDefine::DOWNLOAD_OPEN_FILE_ERROR, tr("message_error_open_file_failed"));
            return;
        }
    }

    m_offset = m_file->size();
    QNetworkRequest request(m_url);
    if (m_offset > 0)
        request.setRawHeader("Range", QStringLiteral("bytes=%1-").arg(m_offset).toLatin1());
    // A manager that once saw the network go away refuses every request until told otherwise.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    if (m_manager.networkAccessible() == QNetworkAccessManager::NotAccessible)
        m_manager.setNetworkAccessible(QNetworkAccessManager::Accessible);
    QT_WARNING_POP

    m_reply = m_manager.get(request);
    m_reply->setReadBufferSize(kReadBufferSize);
    m_timer.start();
    connect(m_reply, &QNetworkReply::finished, this, &DownloadTask::onDownloadFinished);
    connect(m_reply, &QNetworkReply::readyRead, this, &DownloadTask::onDownloadReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &DownloadTask::onNetworkReplyProgress);
    connect(&m_timer, &QTimer::timeout, this, &DownloadTask::onTimeOut, Qt::UniqueConnection);
}

void DownloadTask::stop(bool abort)
{
    m_stopped = true;
    m_timer.stop();
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    if (abort)
        m_reply->close();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void DownloadTask::onDownloadReadyRead()
{
    if (!m_reply || !m_file)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 200 || status == 206) {
        if (status == 200 && m_offset > 0) {
            // The server ignored the range and sends the package from its first byte:
            // appending would corrupt the partial file, so start it again.
            if (!m_file->resize(0)) {
                stop(true);
                failTask(ErrorDefine::DOWNLOAD_WRITE_BUFFER_ERROR,
                         tr("message_error_download_write_buffer"));
                return;
            }
            m_offset = 0;
        }
        const qint64 length = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (length > 0)
            m_taskModel->fileSize = length + m_offset;

        long long freeSpace =
            platform::availableBytes(QDir(m_taskModel->folder).absolutePath().toStdString());
        if (freeSpace < 0) {
            qDebug() << "ERROR: Call to GetDiskFreeSpaceEx() failed.";
            freeSpace = 0;
        }
        // What is already on disk needs no more room.
        const qint64 stillToCome = length - (m_file->size() - m_offset);
        if (freeSpace < stillToCome) {
            stop(true);
            failTask(ErrorDefine::DOWNLOAD_EXIST_SIZE_ERROR, tr("message_disk_not_enough_space"));
            return;
        }

        const QByteArray data = m_reply->readAll();
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const bool written = m_file->write(data) == data.size() && m_file->flush();
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        if (before != after) {
            s_quickWrites = 0;
            m_reply->setReadBufferSize(kSlowReadBufferSize);
        } else if (++s_quickWrites > kQuickWritesBeforeFullBuffer) {
            m_reply->setReadBufferSize(kReadBufferSize);
        }
        if (!written) {
            qDebug() << "write:" << m_file->errorString();
            stop(true);
            failTask(ErrorDefine::DOWNLOAD_WRITE_BUFFER_ERROR,
                     tr("message_error_download_write_buffer"));
            return;
        }
        emit readyRead(data, m_taskModel);
    } else if (status == 416) {
        handleRangeNotSatisfiable();
    } else {
        stop(true);
        failTask(ErrorDefine::DOWNLOAD_NETWORK_ERROR,
                 tr("message_error_network_reply") + QStringLiteral("[%2]").arg(status));
    }
}

void DownloadTask::handleRangeNotSatisfiable()
{
    m_timer.stop();
    if (m_stopped)
        return;
    m_stopped = true;
    stop(false);
    getFileSize();
    connect(this, &DownloadTask::fileSize, this, &DownloadTask::onGetFileSize,
            Qt::UniqueConnection);
}

void DownloadTask::onNetworkReplyProgress(qlonglong bytesReceived, qlonglong bytesTotal)
{
    if (m_timer.isActive())
        m_timer.start();
    emit progress(bytesReceived, bytesTotal + m_offset, m_taskModel);
}

void DownloadTask::onDownloadFinished()
{
    m_timer.stop();
    if (m_stopped || !m_reply)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A 416 without a body never reaches the read handler.
    if (status == 416) {
        handleRangeNotSatisfiable();
        return;
    }
    m_stopped = true;

    if (m_reply->error() != QNetworkReply::NoError) {
        qDebug().noquote() << QStringLiteral("Download failed:\n%1.").arg(m_reply->errorString())
                           << " time:" << QDateTime::currentDateTime().toString();
        const int networkError = m_reply->error();
        if (m_retryCount < kMaxRetries) {
            ++m_retryCount;
            stop(true);
            start(false);
        } else {
            stop(true);
            failTask(ErrorDefine::DOWNLOAD_NETWORK_REPLY_ERROR,
                     tr("message_error_network_reply_please_check_network") +
                         QStringLiteral("[%2]").arg(networkError));
        }
        return;
    }
    stop(true);
    // A bodiless answer that is not the package (a redirect, say) must not be taken for it.
    if (status != 200 && status != 206) {
        failTask(ErrorDefine::DOWNLOAD_NETWORK_ERROR,
                 tr("message_error_network_reply") + QStringLiteral("[%2]").arg(status));
        return;
    }
    if (m_file && !m_file->flush()) {
        failTask(ErrorDefine::DOWNLOAD_FLUSH_ERROR, tr("message_error_download_flush"));
        return;
    }
    emit downloadFinish(m_taskModel);
    verifyDownload(m_taskModel->partialFilePath());
}

void DownloadTask::onTimeOut()
{
    if (m_retryCount < kMaxRetries) {
        ++m_retryCount;
        stop(true);
        start(false);
    } else {
        stop(true);
        failTask(ErrorDefine::HTTP_REQUEST_TIMEOUT, tr("message_request_time_out"));
    }
}

void DownloadTask::getFileSize()
{
    qDebug() << "Getting the file size...";
    dropHeadReply();
    m_headReply = m_headManager.head(QNetworkRequest(m_url));
    connect(m_headReply, &QNetworkReply::finished, this, &DownloadTask::onHeaderReponse);
}

void DownloadTask::dropHeadReply()
{
    if (!m_headReply)
        return;
    m_headReply->disconnect(this);
    m_headReply->close();
    m_headReply->deleteLater();
    m_headReply = nullptr;
}

void DownloadTask::onHeaderReponse()
{
    if (!m_headReply)
        return;
    m_headReply->disconnect(this);
    const int status = m_headReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString failure = tr("message_error_resource_acquisition_failed_check_network") +
                            QStringLiteral("(%2)").arg(status);

    if (m_headReply->error() != QNetworkReply::NoError) {
        dropHeadReply();
        emit fileSize(ErrorDefine::DOWNLOAD_NETWORK_GETHEADER_ERROR, failure, m_taskModel);
        return;
    }
    if (status == 200 || status == 206) {
        const qint64 size = m_headReply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        qDebug() << "The file size is: " << size;
        if (size > 0)
            m_taskModel->fileSize = size;
        dropHeadReply();
        emit fileSize(0, QString(), m_taskModel);
        return;
    }
    if (isRedirect(status)) {
        const QUrl target =
            m_headReply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        qDebug() << "redirectionTarget:" << target;
        if (target.isValid() && m_redirects < kMaxRedirects) {
            ++m_redirects;
            m_url = m_url.resolved(target);
            dropHeadReply();
            getFileSize();
            return;
        }
    }
    dropHeadReply();
    emit fileSize(ErrorDefine::DOWNLOAD_NETWORK_GETHEADER_ERROR, failure, m_taskModel);
}

void DownloadTask::onGetFileSize()
{
    if (m_taskModel->fileSize > 0 && m_taskModel->fileSize == m_offset) {
        emit downloadFinish(m_taskModel);
        verifyDownload(m_taskModel->partialFilePath());
    } else {
        failTask(ErrorDefine::DOWNLOAD_NETWORK_ERROR, tr("message_error_download_network"));
    }
}

bool DownloadTask::checkExistFile()
{
    if (!m_taskModel || !QFileInfo::exists(m_taskModel->finalFilePath()))
        return false;
    return startDigest(m_taskModel->finalFilePath(), &DownloadTask::onGetExistFileMD5);
}

void DownloadTask::onGetExistFileMD5(QString md5String)
{
    m_digesting = false;
    if (isMd5Match(md5String)) {
        m_taskModel->finished = true;
        m_done = true;
        emit finish(m_taskModel);
    } else {
        start(true);
    }
}

bool DownloadTask::isMd5Match(const QString &md5String) const
{
    // An unreadable file has no digest, and that proves nothing about its content.
    if (md5String.isEmpty() || !m_taskModel)
        return false;
    return md5String.toLower() == m_taskModel->md5.toLower();
}

void DownloadTask::verifyDownload(const QString &path)
{
    if (m_taskModel->md5.isEmpty()) {
        emit checkMD5Finish(m_taskModel);
        finishDownload();
        return;
    }
    if (!startDigest(path, &DownloadTask::onGetFileMD5))
        failTask(ErrorDefine::MD5_EXCEPTION_ERROR, tr("message_error_download_md5"));
}

bool DownloadTask::startDigest(const QString &path, void (DownloadTask::*slot)(QString))
{
    if (!m_digestThread)
        m_digestThread = new QThread;
    // The previous digest has told its thread to quit; let it get there before reuse.
    if (m_digestThread->isRunning())
        m_digestThread->wait();
    auto *worker = new MD5CheckWorker(path);
    worker->moveToThread(m_digestThread);
    connect(m_digestThread, &QThread::started, worker, &MD5CheckWorker::onGetMD5);
    connect(worker, &MD5CheckWorker::md5Checkfinished, this, slot);
    connect(worker, &MD5CheckWorker::md5Checkfinished, m_digestThread, &QThread::quit);
    connect(m_digestThread, &QThread::finished, worker, &QObject::deleteLater);
    m_digestThread->start(QThread::InheritPriority);
    m_digesting = true;
    return true;
}

void DownloadTask::onGetFileMD5(QString md5String)
{
    m_digesting = false;
    if (isMd5Match(md5String)) {
        emit checkMD5Finish(m_taskModel);
        finishDownload();
        return;
    }
    if (m_file) {
        m_file->remove();
    } else {
        QFile::remove(m_taskModel->partialFilePath());
    }
    failTask(ErrorDefine::DOWNLOAD_MD5_ERROR, tr("message_error_download_md5"));
}

void DownloadTask::finishDownload()
{
    const QString finalPath = m_taskModel->finalFilePath();
    if (QFileInfo::exists(finalPath) && !QFile::remove(finalPath)) {
        failTask(ErrorDefine::SETUP_DELETE_OLD_GAME_ERROR,
                 tr("message_setup_delete_old_file_error"));
        return;
    }
    // Reporting success without the package at its final name would only move the failure
    // to the extraction, with a misleading message.
    const bool renamed = m_file ? m_file->rename(finalPath)
                                : QFile::rename(m_taskModel->partialFilePath(), finalPath);
    if (!renamed) {
        failTask(ErrorDefine::SETUP_RENAME_FOLDER_ERROR, tr("message_error_open_file_failed"));
        return;
    }
    if (m_file) {
        m_file->close();
        delete m_file;
        m_file = nullptr;
    }
    m_taskModel->finished = true;
    m_done = true;
    emit finish(m_taskModel);
}

void DownloadTask::failTask(int error, const QString &msg)
{
    if (m_reply)
        stop(true);
    m_stopped = true;
    m_timer.stop();
    if (m_taskModel)
        m_taskModel->finished = true;
    if (m_file) {
        m_file->close();
        delete m_file;
        m_file = nullptr;
    }
    emit this->error(error, msg, m_taskModel);
}

void DownloadTask::releaseTask()
{
    if (m_digestThread) {
        m_digestThread->quit();
        m_digestThread->wait();
        delete m_digestThread;
        m_digestThread = nullptr;
    }
    dropHeadReply();
    delete m_taskModel;
    m_taskModel = nullptr;
    if (m_file) {
        m_file->close();
        delete m_file;
        m_file = nullptr;
    }
}

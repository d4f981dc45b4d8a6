#include "recordwriter.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

recordwriter::recordwriter(QObject *parent)
    : QObject(parent)
    , m_worker(new Worker)
{
    m_thread.setObjectName(QStringLiteral("recordwriter"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &Worker::renamed, this, &recordwriter::renamed, Qt::QueuedConnection);
    m_thread.start();
}

recordwriter::~recordwriter()
{
    // Whatever is queued still reaches the file before the thread ends.
    QMetaObject::invokeMethod(m_worker, &Worker::drain, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void recordwriter::store(const QString &key, qint64 count)
{
    m_worker->queue(key, count);
}

void recordwriter::storeNow(const QString &key, qint64 count)
{
    m_worker->queue(key, count);
    QMetaObject::invokeMethod(m_worker, &Worker::drain, Qt::BlockingQueuedConnection);
}

void recordwriter::finish(const QString &group, const QString &tempPath, const QString &finalPath)
{
    QMetaObject::invokeMethod(
        m_worker,
        [worker = m_worker, group, tempPath, finalPath] {
            worker->finish(group, tempPath, finalPath);
        },
        Qt::QueuedConnection);
}

void recordwriter::waitForStores()
{
    QMetaObject::invokeMethod(m_worker, &Worker::drain, Qt::BlockingQueuedConnection);
}

void recordwriter::storeValueNow(const QString &key, const QVariant &value)
{
    m_worker->queue(key, value);
    QMetaObject::invokeMethod(m_worker, &Worker::drain, Qt::BlockingQueuedConnection);
}

void recordwriter::Worker::queue(const QString &key, const QVariant &count)
{
    QMutexLocker lock(&m_mutex);
    m_pending.insert(key, count);
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(this, &Worker::drain, Qt::QueuedConnection);
}

void recordwriter::Worker::drain()
{
    QHash<QString, QVariant> pending;
    {
        QMutexLocker lock(&m_mutex);
        pending.swap(m_pending);
        m_scheduled = false;
    }
    if (pending.isEmpty())
        return;
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        m_settings.setValue(it.key(), it.value());
    m_settings.sync();
}

void recordwriter::Worker::finish(const QString &group, const QString &tempPath,
                                  const QString &finalPath)
{
    // Records queued before completion go first, so none lands after the group is removed.
    drain();
    // An old file under the final name would make the rename fail; replace it.
    if (QFileInfo::exists(finalPath) || QFileInfo(finalPath).isSymLink())
        QFile::remove(finalPath);
    const bool ok = QFile::rename(tempPath, finalPath);
    if (ok) {
        m_settings.remove(group);
        m_settings.sync();
    } else {
        qDebug() << "Cannot rename" << tempPath << "to" << finalPath;
    }
    emit renamed(ok);
}

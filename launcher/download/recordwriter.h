#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QThread>
#include <QVariant>

// Writes a download's resume record (the same QSettings entries the manager reads) on a thread
// of its own. Each save rewrites and syncs the settings file, which on a disk busy writing back
// the package can take hundreds of milliseconds: long enough to freeze the page if done on the
// GUI thread. Saves that arrive while one is under way collapse into the newest count.
class recordwriter : public QObject
{
    Q_OBJECT
public:
    explicit recordwriter(QObject *parent = nullptr);
    ~recordwriter() override;

    // Queues a record; returns at once.
    void store(const QString &key, qint64 count);
    // Returns once every queued record is in the settings file (a pause, an exit).
    void storeNow(const QString &key, qint64 count);
    // Returns once every record queued so far is in the settings file.
    void waitForStores();
    // The record's other keys (the object's validator and size), written the same way so that
    // one thread alone writes the record.
    void storeValueNow(const QString &key, const QVariant &value);
    // Waits for the queued records, renames the complete file over any old final file and, if
    // that worked, drops the record group; then emits renamed(). Returns at once.
    void finish(const QString &group, const QString &tempPath, const QString &finalPath);

signals:
    void renamed(bool ok);

private:
    class Worker;
    Worker *m_worker = nullptr;
    QThread m_thread;
};

class recordwriter::Worker : public QObject
{
    Q_OBJECT
public:
    void queue(const QString &key, const QVariant &value);

signals:
    void renamed(bool ok);

public slots:
    void drain();
    void finish(const QString &group, const QString &tempPath, const QString &finalPath);

private:
    // A child, so it moves to the writer's thread with the worker: the sync it schedules for
    // itself after a change must run there, never on the GUI thread.
    QSettings m_settings{this};
    QMutex m_mutex;
    QHash<QString, QVariant> m_pending;
    bool m_scheduled = false;
};

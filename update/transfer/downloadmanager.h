#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVector>

class DownloadTask;
class TaskModel;

// The updater's process-wide list of downloads, grouped, with the progress of each group
// summed from the bytes on disk.
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    static DownloadManager *instance();
    ~DownloadManager() override;

    // Creates tasks for records not yet in the list (same address and folder); returns the
    // new group id, even when every record was already known.
    int addTasks(const QList<TaskModel *> &taskModels, int kind);
    void startGroup(int groupId);
    void pauseAll();
    void resumeAll();
    void removeGroup(int groupId);
    void removeAll();

    QVector<DownloadTask *> tasks() const { return m_tasks; }

signals:
    void progress(qlonglong bytesRead, qlonglong totalBytes, int groupId);
    void finish(int groupId);
    void error(int error, QString msg, int groupId, TaskModel *taskModel);

public slots:
    void onProgress(qlonglong bytesReceived, qlonglong bytesTotal, TaskModel *taskModel);
    void onError(int error, QString msg, TaskModel *taskModel);
    void onFinish(TaskModel *taskModel);

private:
    DownloadManager() = default;
    void releaseLater(DownloadTask *task);

    QVector<DownloadTask *> m_tasks;
    int m_groupCounter = 0;
};

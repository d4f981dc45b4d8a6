#include "downloadmanager.h"

#include <QFileInfo>

#include <algorithm>

#include "downloadtask.h"
#include "taskmodel.h"

DownloadManager *DownloadManager::instance()
{
    static DownloadManager s_manager;
    return &s_manager;
}

DownloadManager::~DownloadManager()
{
    qDeleteAll(m_tasks);
}

int DownloadManager::addTasks(const QList<TaskModel *> &taskModels, int kind)
{
    const int groupId = ++m_groupCounter;
    for (TaskModel *record : taskModels) {
        if (!record)
            continue;
        record->kind = kind;
        record->groupId = groupId;
        const bool known = std::any_of(m_tasks.cbegin(), m_tasks.cend(), [record](DownloadTask *t) {
            return t->taskModel() && t->taskModel()->url == record->url &&
                   t->taskModel()->folder == record->folder;
        });
        if (known)
            continue;
        auto *task = new DownloadTask;
        task->setTaskModel(record);
        // The task reports with its own copy; the group must travel with it.
        task->taskModel()->kind = kind;
        task->taskModel()->groupId = groupId;
        connect(task, &DownloadTask::progress, this, &DownloadManager::onProgress);
        connect(task, &DownloadTask::finish, this, &DownloadManager::onFinish);
        connect(task, &DownloadTask::error, this, &DownloadManager::onError);
        m_tasks.append(task);
    }
    return groupId;
}

void DownloadManager::startGroup(int groupId)
{
    for (DownloadTask *task : qAsConst(m_tasks)) {
        if (task->taskModel() && task->taskModel()->groupId == groupId)
            task->start(false);
    }
}

void DownloadManager::pauseAll()
{
    for (DownloadTask *task : qAsConst(m_tasks))
        task->stop(true);
}

void DownloadManager::resumeAll()
{
    for (DownloadTask *task : qAsConst(m_tasks))
        task->start(false);
}

void DownloadManager::releaseLater(DownloadTask *task)
{
    // The task may be inside its own finish report: stop it now, free it from the event loop.
    task->stop(true);
    task->disconnect(this);
    task->deleteLater();
}

void DownloadManager::removeGroup(int groupId)
{
    for (int i = m_tasks.size() - 1; i >= 0; --i) {
        DownloadTask *task = m_tasks.at(i);
        if (task->taskModel() && task->taskModel()->groupId == groupId) {
            m_tasks.removeAt(i);
            releaseLater(task);
        }
    }
}

void DownloadManager::removeAll()
{
    const QVector<DownloadTask *> tasks = m_tasks;
    m_tasks.clear();
    for (DownloadTask *task : tasks)
        releaseLater(task);
}

void DownloadManager::onProgress(qlonglong bytesReceived, qlonglong bytesTotal,
                                 TaskModel *taskModel)
{
    Q_UNUSED(bytesTotal)
    if (bytesReceived <= 0 || !taskModel)
        return;
    const int groupId = taskModel->groupId;
    qlonglong total = 0;
    qlonglong read = 0;
    for (DownloadTask *task : qAsConst(m_tasks)) {
        const TaskModel *record = task->taskModel();
        if (!record || record->groupId != groupId)
            continue;
        if (record->fileSize > 0)
            total += record->fileSize;
        const qint64 size =
            record->finished ? record->fileSize : QFileInfo(record->partialFilePath()).size();
        if (size > 0)
            read += size;
    }
    emit progress(read, total, groupId);
}

void DownloadManager::onError(int error, QString msg, TaskModel *taskModel)
{
    emit this->error(error, msg, taskModel ? taskModel->groupId : 0, taskModel);
}

void DownloadManager::onFinish(TaskModel *taskModel)
{
    if (!taskModel)
        return;
    const int groupId = taskModel->groupId;
    for (DownloadTask *task : qAsConst(m_tasks)) {
        const TaskModel *record = task->taskModel();
        if (record && record->groupId == groupId && !record->finished)
            return;
    }
    emit finish(groupId);
    removeGroup(groupId);
}

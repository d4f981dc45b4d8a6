#include "taskmodel.h"

#include <QDir>
#include <QUrl>

TaskModel::TaskModel(QObject *parent)
    : QObject(parent)
{}

QString TaskModel::finalFilePath() const
{
    return QDir(folder).absoluteFilePath(QUrl(url).fileName(QUrl::FullyDecoded));
}

QString TaskModel::partialFilePath() const
{
    return finalFilePath() + QLatin1String("_tmp");
}

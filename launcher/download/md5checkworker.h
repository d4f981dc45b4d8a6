#pragma once

#include <QObject>
#include <QString>

// Computes the MD5 sum of one file on whatever thread it is moved to.
class md5checkworker : public QObject
{
    Q_OBJECT
public:
    explicit md5checkworker(const QString &filePath, QObject *parent = nullptr);

    // The sum as 32 lower-case hex digits, or an empty string when the file cannot be read
    // whole (or the owning thread asked to stop).
    static QString fileMd5(const QString &filePath);

signals:
    void md5Checkfinished(QString md5);

public slots:
    void md5();

private:
    QString m_filePath;
};

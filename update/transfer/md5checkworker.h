#pragma once

#include <QObject>
#include <QString>

// Computes one file's MD5 digest on the thread it was moved to.
class MD5CheckWorker : public QObject
{
    Q_OBJECT
public:
    explicit MD5CheckWorker(const QString &path, QObject *parent = nullptr);

    // Lower-case hexadecimal digest of the file, or an empty string when it cannot be read.
    static QString fileDigest(const QString &path);

signals:
    void md5Checkfinished(QString md5String);

public slots:
    void onGetMD5();

private:
    QString m_path;
};

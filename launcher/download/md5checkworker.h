#pragma once

#include <QObject>
#include <QString>

// Computes the MD5 sum of one file (and, when asked, its SHA-256 in the same read) on
// whatever thread it is moved to.
class md5checkworker : public QObject
{
    Q_OBJECT
public:
    explicit md5checkworker(const QString &filePath, QObject *parent = nullptr);

    // The sum as 32 lower-case hex digits, or an empty string when the file cannot be read
    // whole (or the owning thread asked to stop).
    static QString fileMd5(const QString &filePath);

    void setWantSha256(bool want) { m_wantSha256 = want; }

signals:
    // Only with setWantSha256, just before md5Checkfinished; empty digests and -1 on failure.
    void digestsFinished(QString md5, QString sha256, qint64 size);
    void md5Checkfinished(QString md5);

public slots:
    void md5();

private:
    QString m_filePath;
    bool m_wantSha256 = false;
};

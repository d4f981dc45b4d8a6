#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// One running digest (MD5 or SHA-256) through OpenSSL, fed piece by piece.
class StreamHash
{
public:
    enum Algorithm { Md5, Sha256 };

    explicit StreamHash(Algorithm algorithm);
    ~StreamHash();
    StreamHash(const StreamHash &) = delete;
    StreamHash &operator=(const StreamHash &) = delete;

    Algorithm algorithm() const { return m_algorithm; }
    void reset();
    void addData(const char *data, qint64 length);
    void addData(const QByteArray &data) { addData(data.constData(), data.size()); }
    // Lower-case hex; the digest goes on from where it was, so more data may follow.
    QString resultHex() const;

private:
    struct Context;
    Algorithm m_algorithm;
    std::unique_ptr<Context> m_context;
};

// MD5, SHA-256 and length of a file, read once.
struct PackageDigest
{
    QString md5;
    QString sha256;
    qint64 size = -1;

    // Reads the first `length` bytes (the whole file when negative); false when the file
    // cannot be read that far or `cancelled` says stop.
    static bool ofFile(const QString &path, PackageDigest *digest, qint64 length = -1,
                       const std::function<bool()> &cancelled = {});
    // Feeds the first `length` bytes of a file to the hashes; the bytes actually fed or -1.
    static qint64 feedFile(const QString &path, qint64 length, StreamHash *const *hashes, int count,
                           const std::function<bool()> &cancelled = {});
};

#include "packagedigest.h"

#include <QFile>

#include <openssl/evp.h>

#include <vector>

namespace {
// Large reads keep the per-call overhead far below the cost of hashing.
constexpr qint64 kChunkSize = 1024 * 1024;
} // namespace

struct StreamHash::Context
{
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(ctx); }
};

StreamHash::StreamHash(Algorithm algorithm)
    : m_algorithm(algorithm)
    , m_context(std::make_unique<Context>())
{
    reset();
}

StreamHash::~StreamHash() = default;

void StreamHash::reset()
{
    EVP_DigestInit_ex(m_context->ctx, m_algorithm == Md5 ? EVP_md5() : EVP_sha256(), nullptr);
}

void StreamHash::addData(const char *data, qint64 length)
{
    if (length > 0)
        EVP_DigestUpdate(m_context->ctx, data, size_t(length));
}

QString StreamHash::resultHex() const
{
    EVP_MD_CTX *copy = EVP_MD_CTX_new();
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool ok =
        EVP_MD_CTX_copy_ex(copy, m_context->ctx) && EVP_DigestFinal_ex(copy, out, &length);
    EVP_MD_CTX_free(copy);
    if (!ok)
        return QString();
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(out), int(length)).toHex());
}

qint64 PackageDigest::feedFile(const QString &path, qint64 length, StreamHash *const *hashes,
                               int count, const std::function<bool()> &cancelled)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return -1;
    std::vector<char> buffer(kChunkSize);
    qint64 fed = 0;
    while (length < 0 || fed < length) {
        if (cancelled && cancelled())
            return -1;
        const qint64 want = length < 0 ? kChunkSize : qMin(kChunkSize, length - fed);
        const qint64 n = file.read(buffer.data(), want);
        if (n < 0)
            return -1; // a read error must never pass as the digest of a shorter file
        if (n == 0)
            break;
        for (int i = 0; i < count; ++i)
            hashes[i]->addData(buffer.data(), n);
        fed += n;
    }
    return fed;
}

bool PackageDigest::ofFile(const QString &path, PackageDigest *digest, qint64 length,
                           const std::function<bool()> &cancelled)
{
    StreamHash md5(StreamHash::Md5);
    StreamHash sha256(StreamHash::Sha256);
    StreamHash *hashes[] = {&md5, &sha256};
    const qint64 fed = feedFile(path, length, hashes, 2, cancelled);
    if (fed < 0 || (length >= 0 && fed != length))
        return false;
    digest->md5 = md5.resultHex();
    digest->sha256 = sha256.resultHex();
    digest->size = fed;
    return true;
}

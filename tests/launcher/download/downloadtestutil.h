#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QString>

#include "httptestserver.h"

// Small helpers shared by the download suites.
namespace downloadtest {

inline QByteArray randomBytes(int size, quint32 seed)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator gen(seed);
    gen.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    for (int i = size / 4 * 4; i < size; ++i)
        data[i] = char(gen.generate());
    return data;
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString md5Hex(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
}

// The GET requests the server saw for a path, oldest first.
inline QList<HttpTestServer::Request> gets(const HttpTestServer &server, const QString &path)
{
    QList<HttpTestServer::Request> out;
    for (const HttpTestServer::Request &r : server.requestsFor(path)) {
        if (r.method == "GET")
            out.append(r);
    }
    return out;
}

} // namespace downloadtest

#include "publishcommon.h"

#include <QFile>
#include <QRegularExpression>
#include <QUrl>

namespace publish {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool isValidName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]*$"));
    return pattern.match(name).hasMatch();
}

bool isValidVersion(const QString &version)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+(\\.[0-9]+)*$"));
    return pattern.match(version).hasMatch();
}

bool digestOf(const QString &path, PackageDigest *digest, QString *error)
{
    if (!PackageDigest::ofFile(path, digest))
        return fail(error, QStringLiteral("%1: cannot read").arg(path));
    return true;
}

bool normaliseBaseUrl(QString *url, QString *error)
{
    while (url->endsWith(QLatin1Char('/')))
        url->chop(1);
    const QUrl parsed(*url, QUrl::StrictMode);
    const QString scheme = parsed.scheme();
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        parsed.hasQuery() || parsed.hasFragment())
        return fail(error, QStringLiteral("base address \"%1\": give the http(s) address the site "
                                          "folder is served at, such as "
                                          "https://cdn.example.com/lunmere")
                               .arg(*url));
    return true;
}

} // namespace publish

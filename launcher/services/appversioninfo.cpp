#include "appversioninfo.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QUrl>
#include <QVariantMap>

#include <cmath>

namespace {

constexpr int kMd5Digits = 32;

// The size as a number or a digit string; -1 for anything else but a missing value. A double
// is only taken when it holds a whole number that a qint64 can hold exactly enough.
qint64 readSize(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d < 0 || d >= 9.0e18 || std::floor(d) != d)
            return -1;
        return static_cast<qint64>(d);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        return ok && n >= 0 ? n : -1;
    }
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = value.toString().toLongLong(&ok, 10);
        return ok && n >= 0 ? n : -1;
    }
    default:
        return -1;
    }
}

// A whole number within int range, else the default type (an unreadable type is never taken
// for a compulsory one).
int readType(const QVariant &value)
{
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (std::isfinite(d) && std::floor(d) == d && d >= -2147483648.0 && d <= 2147483647.0)
            return static_cast<int>(d);
        return AppVersionInfo::kDefaultUpdateType;
    }
    // A JSON number without a fraction reads as a whole-number type.
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::QString: {
        bool ok = false;
        const int n = value.toString().toInt(&ok, 10);
        return ok ? n : AppVersionInfo::kDefaultUpdateType;
    }
    default:
        return AppVersionInfo::kDefaultUpdateType;
    }
}

QString appIdOf(const QVariant &userDefined)
{
    const QJsonDocument inner = QJsonDocument::fromJson(userDefined.toString().toUtf8());
    if (!inner.isObject())
        return QString();
    // A numeric id names a launcher just as its text does.
    return inner.object().value(QStringLiteral("app_id")).toVariant().toString();
}

bool isHexDigits(const QString &text)
{
    for (const QChar c : text) {
        const bool hex = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                         (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
        if (!hex)
            return false;
    }
    return true;
}

} // namespace

AppVersionInfo::Verdict AppVersionInfo::fromReleaseAnswer(const QJsonDocument &doc,
                                                          const QString &launcherId,
                                                          AppVersionInfo *info, QString *error)
{
    const QVariantMap data = doc.toVariant().toMap().value(QStringLiteral("data")).toMap();
    const QString appId = appIdOf(data.value(QStringLiteral("user_defined")));
    const bool hasUpdate =
        data.value(QStringLiteral("has_update")).toString() == QLatin1String("true") &&
        (appId.isEmpty() || appId == launcherId);
    if (!hasUpdate)
        return Verdict::NoUpdate;

    AppVersionInfo read;
    read.setUpdateType(readType(data.value(QStringLiteral("update_type"))));
    read.setPackageName(data.value(QStringLiteral("package_name")).toString());
    read.setPackageVersion(data.value(QStringLiteral("package_version")).toString());
    read.setPackageUrl(data.value(QStringLiteral("package_url")).toString());
    read.setPackageMd5(data.value(QStringLiteral("package_md5")).toString());
    read.setPackageSize(readSize(data.value(QStringLiteral("package_size"))));
    read.setPackageSignature(
        QJsonObject::fromVariantMap(data.value(QStringLiteral("package_signature")).toMap()));
    if (info)
        *info = read;
    return read.isUsable(error) ? Verdict::Update : Verdict::Unusable;
}

bool AppVersionInfo::isUsable(QString *error) const
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QUrl url(m_packageUrl, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return fail(QStringLiteral("package_url is not an http(s) address: ") + m_packageUrl);
    // The updater names its download after the address's last path segment.
    if (url.fileName(QUrl::FullyDecoded).isEmpty())
        return fail(QStringLiteral("package_url names no file: ") + m_packageUrl);
    // An empty digest means "not checked", as the updater reads it.
    if (!m_packageMd5.isEmpty() &&
        (m_packageMd5.size() != kMd5Digits || !isHexDigits(m_packageMd5)))
        return fail(QStringLiteral("package_md5 is not an MD5 digest: ") + m_packageMd5);
    if (m_packageSize < 0)
        return fail(QStringLiteral("package_size is not a whole number of bytes"));
    return true;
}

bool AppVersionInfo::operator==(const AppVersionInfo &other) const
{
    return m_updateType == other.m_updateType && m_packageName == other.m_packageName &&
           m_packageVersion == other.m_packageVersion && m_packageUrl == other.m_packageUrl &&
           m_packageMd5 == other.m_packageMd5 && m_packageSize == other.m_packageSize &&
           m_packageSignature == other.m_packageSignature;
}

void AppVersionInfo::registerMetaType()
{
    qRegisterMetaType<AppVersionInfo>("AppVersionInfo");
}

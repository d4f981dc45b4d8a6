#include "inifile.h"

#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringList>

namespace IniFile {

bool looksLikeIni(const QByteArray &content)
{
    QByteArray text = content;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']'))
            continue;
        // A key needs a name before its "=".
        if (line.indexOf('=') > 0)
            continue;
        return false;
    }
    return !text.contains('\0');
}

QString keepUnreadableCopy(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    file.close();
    if (looksLikeIni(content))
        return {};

    QString copy = path + QLatin1String(".bad");
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = path + QStringLiteral(".bad.%1").arg(n);
    if (!QFile::copy(path, copy)) {
        qWarning() << "config: " << path << "is not an INI file and could not be kept as" << copy;
        return {};
    }
    qWarning() << "config: " << path << "is not an INI file; its content is kept in" << copy;
    return copy;
}

QString toText(const QVariant &value)
{
    if (value.type() == QVariant::StringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace IniFile

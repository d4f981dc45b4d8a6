#include "versioncompare.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace {

bool isDecimal(const QStringRef &part)
{
    if (part.isEmpty())
        return false;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// Numeric order of two digit strings of any length, so "99999999999" cannot overflow.
int compareDecimal(QStringRef a, QStringRef b)
{
    auto stripZeros = [](QStringRef s) {
        int i = 0;
        while (i < s.size() - 1 && s.at(i) == QLatin1Char('0'))
            ++i;
        return s.mid(i);
    };
    a = stripZeros(a);
    b = stripZeros(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

int compareVersion(const QString &a, const QString &b)
{
    if (a == b)
        return 0;
    const QVector<QStringRef> left = a.splitRef(QLatin1Char('.'));
    const QVector<QStringRef> right = b.splitRef(QLatin1Char('.'));
    const int n = qMin(left.size(), right.size());
    for (int i = 0; i < n; ++i) {
        if (!isDecimal(left.at(i)) || !isDecimal(right.at(i)))
            return -2;
        const int order = compareDecimal(left.at(i), right.at(i));
        if (order < 0)
            return 1;
        if (order > 0)
            return -1;
    }
    return 0;
}

#include "sizetext.h"

#include <QTranslator>

#include <cmath>

namespace {
constexpr double kStep = 1024.0;
// 1000 of a unit reads as 0.98 of the next one: four digits would not keep the width.
constexpr double kNextUnitFrom = 999.5;
} // namespace

QString SizeText::significant(double value)
{
    if (value == 0.0)
        return QLocale().toString(0);
    const double magnitude = std::fabs(value);
    int decimals = magnitude < 9.995 ? 2 : magnitude < 99.95 ? 1 : 0;
    return QLocale().toString(value, 'f', decimals);
}

QString SizeText::joined(const QString &number, const QString &unit)
{
    return number + QChar(0x00A0) + unit;
}

QString SizeText::bytes(qint64 bytes)
{
    double value = static_cast<double>(qMax<qint64>(bytes, 0)) / kStep;
    if (value < kNextUnitFrom)
        return joined(significant(value), tr("label_unit_kb"));
    value /= kStep;
    if (value < kNextUnitFrom)
        return joined(significant(value), tr("label_unit_mb"));
    return joined(significant(value / kStep), tr("label_unit_gb"));
}

QString SizeText::speed(double bytesPerSecond)
{
    const double kb = qMax(bytesPerSecond, 0.0) / kStep;
    if (kb < kNextUnitFrom)
        return joined(significant(kb), tr("label_unit_kb_per_second"));
    return joined(significant(kb / kStep), tr("label_unit_mb_per_second"));
}

void SizeText::useLanguageOf(const QTranslator &translator)
{
    const QString language = translator.language();
    QLocale::setDefault(language.isEmpty() ? QLocale::c() : QLocale(language));
}

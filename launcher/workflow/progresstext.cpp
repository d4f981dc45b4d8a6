#include "progresstext.h"

#include <numeric>

namespace {
constexpr size_t kSpeedWindow = 11;
std::deque<double> g_speedSamples;
} // namespace

QString ProgressText::gigabytes(qint64 bytes)
{
    return QString::number(static_cast<double>(bytes) / 1073741824.0, 'f', 2);
}

QString ProgressText::remainingTime(qint64 seconds)
{
    qint64 hours = 0;
    qint64 minutes = 0;
    if (seconds > 3600) {
        hours = seconds / 3600;
        seconds %= 3600;
    }
    if (seconds > 60) {
        minutes = seconds / 60;
        seconds %= 60;
    }
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

QString ProgressText::speedValue(double kbPerSecond, bool *inMegabytes)
{
    // The threshold compares KB/s with 0.9: every real transfer reads in MB/s.
    const bool mega = kbPerSecond >= 0.9;
    if (inMegabytes)
        *inMegabytes = mega;
    return QString::number(mega ? kbPerSecond / 1024.0 : kbPerSecond, 'f', 2);
}

QString ProgressText::speedLine(const QString &label, const QString &value, const QString &unit)
{
    return label + QLatin1Char(' ') + value + unit;
}

double ProgressText::averageSpeed(double sampleKbPerSecond)
{
    while (g_speedSamples.size() >= kSpeedWindow)
        g_speedSamples.pop_front();
    g_speedSamples.push_back(sampleKbPerSecond);
    return std::accumulate(g_speedSamples.begin(), g_speedSamples.end(), 0.0) /
           static_cast<double>(g_speedSamples.size());
}

void ProgressText::resetAverage()
{
    g_speedSamples.clear();
}

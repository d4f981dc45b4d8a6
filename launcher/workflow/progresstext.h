#pragma once

#include <QString>

#include <deque>

// The numbers of the page's progress area: sizes in GB, speeds in KB/s or MB/s and the
// remaining time, each as the page prints it.
class ProgressText
{
public:
    // "1.50" for 1.5 GiB.
    static QString gigabytes(qint64 bytes);

    // "%1:%2:%3" with hours and minutes carried only past a whole hour or minute, so 3600 s
    // reads "00:60:00" and 3601 s "01:00:01".
    static QString remainingTime(qint64 seconds);

    // Speed in KB/s; "0.49" MB/s style value and whether it is in MB/s (from 0.9 KB/s on).
    static QString speedValue(double kbPerSecond, bool *inMegabytes);

    // "Speed: 12.46MB/s": the label, a space, the value and its unit. A paused or finished
    // transfer reads "Speed: 0KB/s" in the same form.
    static QString speedLine(const QString &label, const QString &value, const QString &unit);

    // The moving mean of the last eleven download speed samples of the process.
    static double averageSpeed(double sampleKbPerSecond);
    static void resetAverage();
};

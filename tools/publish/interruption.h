#pragma once

#include <QString>

// SIGTERM and SIGINT during a run: the child 7z is stopped at once and the run fails at its next
// step, so that the staging folder and temporary files are removed on the way out.
class Interruption
{
public:
    // Installs the handlers; a run that never calls this ends on the signal as usual.
    static void install();

    // The signal that arrived, or 0.
    static int signal();
    static bool requested() { return signal() != 0; }
    // The error text for a run stopped by the signal.
    static QString message();

    // The child process a signal stops as well (0: none).
    static void setChild(qint64 pid);
};

#pragma once

#include <QString>

#include <functional>

// The updater's dealings with the launcher's process: ending it before its files are
// replaced, and starting it again (with "update", so it does not wait for this updater)
// when the updater is done, whichever way.
class LauncherProcess
{
public:
    // Starts the launcher detached with the one argument "update" (three attempts, 500 ms
    // apart, user input held back meanwhile), then ends the program. An empty or relative
    // launcher path is never started.
    static void restartLauncher();
    // The three attempts alone; true when the launcher was started.
    static bool startLauncher(const QString &launcherPath);

    // Whether a process of that image name runs (also tried in lower case).
    static bool isProcessRunning(const QString &imageName);
    static void killProcess(const QString &imageName);
    // Whether the program installed at launcherPath runs (whatever other programs share its
    // image name).
    static bool isLauncherRunning(const QString &launcherPath);
    // Waits up to about 1.5 s for the launcher in the launcher folder to end and kills it in
    // the last round.
    static void stopLauncher();

    // How the program ends; tests replace it to watch the flow end in-process.
    using ExitHandler = std::function<void(int)>;
    static void setExitHandler(ExitHandler handler);
    static void exitProgram(int code);
};

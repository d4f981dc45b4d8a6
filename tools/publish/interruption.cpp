#include "interruption.h"

#include <atomic>
#include <csignal>

#ifdef Q_OS_UNIX
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

std::atomic<int> g_signal{0};
std::atomic<qint64> g_child{0};

#ifdef Q_OS_UNIX
extern "C" void onSignal(int number)
{
    g_signal.store(number);
    const qint64 child = g_child.load();
    if (child > 0)
        ::kill(pid_t(child), SIGTERM);
}
#endif

} // namespace

void Interruption::install()
{
#ifdef Q_OS_UNIX
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
#endif
}

int Interruption::signal()
{
    return g_signal.load();
}

QString Interruption::message()
{
    return QStringLiteral("stopped by signal %1; the site is unchanged").arg(signal());
}

void Interruption::setChild(qint64 pid)
{
    g_child.store(pid);
    // A signal that came just before the child started must stop it too.
    if (pid > 0 && requested()) {
#ifdef Q_OS_UNIX
        ::kill(pid_t(pid), SIGTERM);
#endif
    }
}

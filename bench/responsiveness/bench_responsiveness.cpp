// How long the page stops answering while the game installs: the real page and view model, the
// real download engine against a package server, the MD5 check and the extraction through
// 7z.so, with a probe timer on the GUI thread whose tick gaps are the freezes a player sees.
//
//   bench_responsiveness <service base url> <install folder> [idle-first|idle-last]
//
// The service base (the launcher appends its game path) must answer the resource and content
// queries (bench/responsiveness/run.sh serves them and the package with nginx). Prints, per phase
// (idle page, download, md5, extraction) and overall, the number of ticks, the longest and the
// 99th-percentile gap in milliseconds; "idle" is the same page with nothing running, the machine's
// own floor.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMap>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <QtWebEngine/qtwebengineglobal.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "errordefine.h"
#include "launcherconfig.h"
#include "mainviewmodel.h"

namespace {

constexpr int kProbeIntervalMs = 5;
constexpr int kIdleMs = 3000;
constexpr int kLimitMs = 15 * 60 * 1000;
constexpr double kReportGapMs = 50.0;

struct Gap
{
    QString phase;
    double ms;
    qint64 endNs;
    // Where the gap went: running on a CPU, runnable but waiting for one (other processes),
    // and the rest, asleep in a system call (disk, locks).
    double runMs;
    double queueMs;
};

// The GUI thread's time on a CPU and time waiting in the run queue, in nanoseconds.
struct SchedTimes
{
    qint64 runNs = 0;
    qint64 queueNs = 0;
};

SchedTimes schedTimes()
{
    SchedTimes times;
    if (FILE *file = std::fopen("/proc/thread-self/schedstat", "r")) {
        long long run = 0;
        long long queue = 0;
        if (std::fscanf(file, "%lld %lld", &run, &queue) == 2)
            times = {run, queue};
        std::fclose(file);
    }
    return times;
}

QString phaseOf(int state)
{
    switch (state) {
    case MainViewModel::Downloading:
        return QStringLiteral("download");
    case MainViewModel::Verifying:
        return QStringLiteral("md5");
    case MainViewModel::Installing:
        return QStringLiteral("extraction");
    default:
        return QStringLiteral("other");
    }
}

void printStats(QTextStream &out, const QString &name, std::vector<double> gaps)
{
    if (gaps.empty()) {
        out << "phase " << name << " ticks 0" << Qt::endl;
        return;
    }
    std::sort(gaps.begin(), gaps.end());
    const size_t index = std::min(gaps.size() - 1, static_cast<size_t>(gaps.size() * 0.99));
    out << "phase " << name << " ticks " << gaps.size() << " max_ms "
        << QString::number(gaps.back(), 'f', 1) << " p99_ms "
        << QString::number(gaps[index], 'f', 1) << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // As the launcher starts: software rendering of the page on the GUI thread.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QtWebEngine::initialize();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        out << "usage: bench_responsiveness <service base url> <install folder> "
               "[idle-first|idle-last]"
            << Qt::endl;
        return 2;
    }
    const bool idleFirst = args.value(2) != QLatin1String("idle-last");
    ErrorDefine::registerMetaTypes();

    LauncherConfig::setInstanceFilePath(args.at(1) + QStringLiteral("/../launcher-config.ini"));
    LauncherConfig *config = LauncherConfig::instance();
    for (const char *key : {"resource_url", "release_url", "report_url", "web_url"})
        config->writeString(QLatin1String(key), args.at(0), QStringLiteral("services"));
    config->setInstallPath(args.at(1));
    config->setGameVersion(QString());

    MainViewModel model;
    // No launcher self-update check: it would only ask about a launcher release.
    model.setStartedByUpdater(true);
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    QQmlApplicationEngine engine;
    model.initialize();
    engine.rootContext()->setContextProperty(QStringLiteral("mainViewModel"), &model);
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    model.setRootObject(engine.rootObjects().constFirst());

    QElapsedTimer clock;
    clock.start();
    // Wall-clock time of the start, to line gaps up with a system-call trace (strace -tt).
    const QDateTime wallStart = QDateTime::currentDateTime();
    std::vector<Gap> gaps;
    QString phase;
    qint64 lastTick = -1;
    SchedTimes lastTimes;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kProbeIntervalMs);
    QObject::connect(&probe, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        const SchedTimes times = schedTimes();
        // A gap belongs to the phase it began in: that is the work that held the thread.
        if (lastTick >= 0 && !phase.isEmpty())
            gaps.push_back({phase, (now - lastTick) / 1e6, now,
                            (times.runNs - lastTimes.runNs) / 1e6,
                            (times.queueNs - lastTimes.queueNs) / 1e6});
        lastTick = now;
        lastTimes = times;
        if (QWidget *box = QApplication::activeModalWidget()) {
            out << "error: a dialog opened (" << box->metaObject()->className() << ")" << Qt::endl;
            QCoreApplication::exit(1);
        }
    });

    bool measuring = false;
    // The button first re-reads the state (still "not installed"); only a return to it after
    // the install got going is a failure.
    bool installRunning = false;
    qint64 installStart = 0;
    qint64 installEnd = 0;
    QMap<QString, double> phaseSeconds;
    qint64 phaseStart = 0;
    auto enterPhase = [&](const QString &next) {
        const qint64 now = clock.nsecsElapsed();
        if (!phase.isEmpty())
            phaseSeconds[phase] += (now - phaseStart) / 1e9;
        phase = next;
        phaseStart = now;
    };

    auto finishIdle = [&](auto then) {
        enterPhase(QStringLiteral("idle"));
        QTimer::singleShot(kIdleMs, &app, then);
    };
    auto install = [&] {
        enterPhase(phaseOf(MainViewModel::Downloading));
        installStart = clock.nsecsElapsed();
        model.installEnsureBtnClicked();
    };
    QObject::connect(&model, &MainViewModel::gameStateChanged, &app, [&] {
        const int state = model.gameState();
        if (state == MainViewModel::NotInstalled && !measuring) {
            measuring = true;
            // The page has its first answer; let it settle before measuring.
            QTimer::singleShot(1000, &app, [&] {
                if (idleFirst)
                    finishIdle(install);
                else
                    install();
            });
            return;
        }
        if (installStart == 0 || installEnd != 0)
            return;
        if (state == MainViewModel::Installed) {
            installEnd = clock.nsecsElapsed();
            if (idleFirst) {
                enterPhase(QString());
                QCoreApplication::exit(0);
            } else {
                finishIdle([&] {
                    enterPhase(QString());
                    QCoreApplication::exit(0);
                });
            }
        } else if ((state == MainViewModel::NotInstalled && installRunning) ||
                   state == MainViewModel::QueryFailed) {
            out << "error: the install stopped in state " << state << Qt::endl;
            QCoreApplication::exit(1);
        } else if (state != MainViewModel::NotInstalled) {
            installRunning = true;
            enterPhase(phaseOf(state));
        }
    });
    // Ticks from the start, so a dialog is noticed at once; gaps count from the first phase.
    probe.start();
    QTimer::singleShot(kLimitMs, &app, [&] {
        out << "error: no result within " << kLimitMs / 1000 << " s" << Qt::endl;
        QCoreApplication::exit(1);
    });

    const int result = app.exec();
    probe.stop();
    if (result != 0)
        return result;

    QMap<QString, std::vector<double>> byPhase;
    std::vector<double> all;
    const Gap *worst = nullptr;
    for (const Gap &gap : gaps) {
        byPhase[gap.phase].push_back(gap.ms);
        if (gap.phase != QLatin1String("idle")) {
            all.push_back(gap.ms);
            if (!worst || gap.ms > worst->ms)
                worst = &gap;
        }
    }
    for (const QString &name : {QStringLiteral("idle"), QStringLiteral("download"),
                                QStringLiteral("md5"), QStringLiteral("extraction")}) {
        printStats(out, name, byPhase.value(name));
        out << "seconds " << name << ' ' << QString::number(phaseSeconds.value(name), 'f', 2)
            << Qt::endl;
    }
    printStats(out, QStringLiteral("overall"), all);
    out << "seconds overall " << QString::number((installEnd - installStart) / 1e9, 'f', 2)
        << Qt::endl;
    if (worst)
        out << "worst gap " << QString::number(worst->ms, 'f', 1) << " ms in " << worst->phase
            << " ending at " << QString::number((worst->endNs - installStart) / 1e9, 'f', 3)
            << " s into the install: running " << QString::number(worst->runMs, 'f', 1)
            << " ms, waiting for a CPU " << QString::number(worst->queueMs, 'f', 1)
            << " ms, blocked "
            << QString::number(std::max(0.0, worst->ms - worst->runMs - worst->queueMs), 'f', 1)
            << " ms" << Qt::endl;
    // Every gap over the target, to tell the thread's own work from a busy machine.
    for (const Gap &gap : gaps) {
        if (gap.ms < kReportGapMs || gap.phase == QLatin1String("idle"))
            continue;
        out << "long gap " << QString::number(gap.ms, 'f', 1) << " ms " << gap.phase << " at "
            << QString::number((gap.endNs - installStart) / 1e9, 'f', 3) << " s: running "
            << QString::number(gap.runMs, 'f', 1) << ", waiting for a CPU "
            << QString::number(gap.queueMs, 'f', 1) << " (wall clock "
            << wallStart.addMSecs((gap.endNs - qint64(gap.ms * 1e6)) / 1000000)
                   .toString(QStringLiteral("hh:mm:ss.zzz"))
            << " to "
            << wallStart.addMSecs(gap.endNs / 1000000).toString(QStringLiteral("hh:mm:ss.zzz"))
            << ")" << Qt::endl;
    }
    return 0;
}

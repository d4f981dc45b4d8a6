#include "reportcommand.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>

#include "reportdashboard.h"
#include "reportdatabase.h"

namespace {

int failWith(const QString &message)
{
    QTextStream(stderr) << "lunmere-publish: error: " << message << Qt::endl;
    return 1;
}

} // namespace

int reportCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Loads telemetry logs (the nginx log of the nginx command's server block or the serve "
        "command's JSON lines, plain or gzip-rotated) into an SQLite database, only what was "
        "not loaded before, and writes a static HTML dashboard of it.");
    parser.addHelpOption();
    parser.addOptions({
        {"db", "SQLite database to load into (created when missing).", "file"},
        {"html", "Folder to write the dashboard (index.html) into.", "dir"},
    });
    parser.addPositionalArgument("LOG", "Report logs; rotated copies too, in any order.");
    if (!parser.parse(arguments))
        return failWith(parser.errorText());
    if (parser.isSet("help")) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (parser.value("db").isEmpty())
        return failWith(QStringLiteral("--db is required"));

    ReportDatabase db;
    QString error;
    if (!db.open(parser.value("db"), &error))
        return failWith(error);
    QTextStream out(stdout);
    for (const QString &log : parser.positionalArguments()) {
        QElapsedTimer timer;
        timer.start();
        ReportDatabase::LoadResult result;
        if (!db.load(log, &result, &error))
            return failWith(error);
        out << log << ": " << result.reports << " reports from " << result.lines << " new lines ("
            << result.skipped << " other)" << (result.known ? ", continued" : "") << " in "
            << timer.elapsed() << " ms" << Qt::endl;
    }
    if (parser.isSet("html")) {
        ReportDashboard dashboard(db.handle());
        if (!dashboard.write(parser.value("html"), &error))
            return failWith(error);
        out << "dashboard " << parser.value("html") << "/index.html" << Qt::endl;
    }
    return 0;
}

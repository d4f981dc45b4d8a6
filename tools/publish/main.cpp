// lunmere-publish: turns game and launcher folders into a site folder that a static HTTP server
// serves to the launcher, and serves such a folder on 127.0.0.1 for trials.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

#include "gamepublisher.h"
#include "interruption.h"
#include "launcherpublisher.h"
#include "packagesigner.h"
#include "publishcommon.h"
#include "reportcommand.h"
#include "signingkeylist.h"
#include "signingpolicy.h"
#include "siteserver.h"
#include "sitelock.h"
#include "sitestatus.h"

namespace {

const char kUsage[] =
    "usage: lunmere-publish game --site DIR --base-url URL --name NAME [options] "
    "VERSION=FOLDER...\n"
    "       lunmere-publish launcher --site DIR --base-url URL --version VERSION [options] "
    "FOLDER\n"
    "       lunmere-publish rollback --site DIR --base-url URL --name NAME --to VERSION "
    "--version NEW [options]\n"
    "       lunmere-publish status --site DIR\n"
    "       lunmere-publish keygen --out STEM\n"
    "       lunmere-publish keylist --root-key FILE --out FILE [--expires-days N] KEY.pub...\n"
    "       lunmere-publish serve --site DIR [--port N] [--report-log FILE] [--port-file FILE]\n"
    "       lunmere-publish nginx --site DIR [--listen ADDRESS] [--report-log FILE]\n"
    "       lunmere-publish report LOG... --db FILE [--html DIR]\n"
    "Run a command with --help for its options.\n";

int failWith(const QString &message)
{
    QTextStream(stderr) << "lunmere-publish: error: " << message << Qt::endl;
    return 1;
}

// An unset secret in a CI script expands to nothing: publishing unsigned then would lock every
// keyed launcher out, so say what happened instead.
QString emptySignKey()
{
    return QStringLiteral("--sign-key is empty (an unset variable?): give the private key file, "
                          "or leave the option out to publish unsigned");
}

bool readJson(const QString &path, QJsonDocument *doc, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return publish::fail(error,
                             QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
    QJsonParseError parseError;
    *doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return publish::fail(error, QStringLiteral("%1: not JSON: %2 at byte %3")
                                        .arg(path, parseError.errorString())
                                        .arg(parseError.offset));
    return true;
}

QCommandLineOption option(const QString &name, const QString &help, const QString &value = {})
{
    return value.isEmpty() ? QCommandLineOption(name, help) : QCommandLineOption(name, help, value);
}

// Parses a command's arguments; false when the program should end with *exitCode.
bool parse(QCommandLineParser &parser, const QStringList &arguments, int *exitCode)
{
    parser.addHelpOption();
    if (!parser.parse(arguments)) {
        *exitCode = failWith(parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        *exitCode = 0;
        return false;
    }
    return true;
}

bool requireOptions(const QCommandLineParser &parser, const QStringList &names, int *exitCode)
{
    for (const QString &name : names) {
        if (parser.value(name).isEmpty()) {
            *exitCode = failWith(QStringLiteral("--%1 is required").arg(name));
            return false;
        }
    }
    return true;
}

QCommandLineOption lockWaitOption()
{
    return option("lock-wait",
                  "Seconds to wait for another run on the same site before giving up (default "
                  "600).",
                  "seconds");
}

bool readLockWait(const QCommandLineParser &parser, int *exitCode)
{
    if (!parser.isSet("lock-wait"))
        return true;
    bool ok = false;
    const int seconds = parser.value("lock-wait").toInt(&ok);
    if (!ok || seconds < 0) {
        *exitCode = failWith(QStringLiteral("--lock-wait: a number of seconds, 0 or more"));
        return false;
    }
    SiteLock::setWaitSeconds(seconds);
    return true;
}

// The options of every command that publishes a game release.
void addGameOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        option("site", "Site folder to publish into (a link to a folder publishes into it).",
               "dir"),
        option("base-url", "Address the site folder is served at.", "url"),
        option("name", "Game name used in package file names.", "name"),
        option("entry", "The game's executable, as the launcher starts it.", "path"),
        option("web-url", "News page the launcher shows.", "url"),
        option("content", "JSON file {background, url, icon}: the promotion.", "file"),
        option("plugins", "JSON file: array of plug-in packages {path, md5}.", "file"),
        option("min-launcher-version", "Oldest launcher that may still run.", "version"),
        option("force-update-url", "Where a too old launcher sends the player.", "url"),
        option("sign-key",
               "Private key (from keygen) to sign every package with; plug-ins then need "
               "\"file\", their local copy.",
               "file"),
        option("force", "Republish a version with other content, publish an older version, or drop "
                        "difference packages the site keeps no file list for."),
        option("dry-run", "Say what the run would change, and change nothing."),
        option("grace-runs",
               "Later runs a retired package stays for, so paused downloads finish (default 2).",
               "n"),
        option("grace-hours", "Hours a retired package stays for at least (default 48).", "hours"),
        lockWaitOption(),
        option("launcher-id", "Launcher id the game is published for (default 18).", "id"),
        QCommandLineOption("signed-rollback",
                           "Sign the newest version as a rollback: keyed launchers on a newer "
                           "version install it."),
        QCommandLineOption("change-signing",
                           "Publish unsigned onto a signed site, or signed onto an unsigned one."),
        option("expires-days",
               "Days keyed launchers trust the signed answer (default 30); republish before.",
               "days"),
        option("key-list", "Signed list of signing keys (from keylist) to publish.", "file"),
    });
}

// Reads the options addGameOptions declared; false when the program should end with *exitCode.
bool readGameOptions(const QCommandLineParser &parser, GamePublisher::Options *options,
                     int *exitCode)
{
    if (!requireOptions(parser, {"site", "base-url", "name"}, exitCode) ||
        !readLockWait(parser, exitCode))
        return false;
    options->site = parser.value("site");
    options->baseUrl = parser.value("base-url");
    options->name = parser.value("name");
    options->entry = parser.value("entry");
    options->webUrl = parser.value("web-url");
    options->minLauncherVersion = parser.value("min-launcher-version");
    options->forceUpdateUrl = parser.value("force-update-url");
    options->signingKey = parser.value("sign-key");
    if (parser.isSet("sign-key") && options->signingKey.isEmpty()) {
        *exitCode = failWith(emptySignKey());
        return false;
    }
    if (parser.isSet("launcher-id"))
        options->launcherId = parser.value("launcher-id");
    options->signedRollback = parser.isSet("signed-rollback");
    options->allowSigningChange = parser.isSet("change-signing");
    if (parser.isSet("expires-days")) {
        bool daysOk = false;
        options->expiresDays = parser.value("expires-days").toInt(&daysOk);
        if (!daysOk || options->expiresDays < 0) {
            *exitCode = failWith(QStringLiteral("--expires-days: a number of days, 0 or more"));
            return false;
        }
    }
    options->force = parser.isSet("force");
    options->dryRun = parser.isSet("dry-run");
    bool ok = true;
    if (parser.isSet("grace-runs"))
        options->graceRuns = parser.value("grace-runs").toInt(&ok);
    if (!ok || options->graceRuns < 0) {
        *exitCode = failWith(QStringLiteral("--grace-runs: a number of runs, 0 or more"));
        return false;
    }
    if (parser.isSet("grace-hours"))
        options->graceHours = parser.value("grace-hours").toDouble(&ok);
    if (!ok || options->graceHours < 0) {
        *exitCode = failWith(QStringLiteral("--grace-hours: a number of hours, 0 or more"));
        return false;
    }
    QString error;
    if (!publish::normaliseBaseUrl(&options->baseUrl, &error)) {
        *exitCode = failWith(error);
        return false;
    }
    if (parser.isSet("key-list")) {
        QJsonDocument doc;
        if (!readJson(parser.value("key-list"), &doc, &error)) {
            *exitCode = failWith(error);
            return false;
        }
        options->signingKeys = doc.object();
    }
    if (parser.isSet("content")) {
        QJsonDocument doc;
        if (!readJson(parser.value("content"), &doc, &error)) {
            *exitCode = failWith(error);
            return false;
        }
        const QJsonObject adv = doc.object();
        if (!doc.isObject()) {
            *exitCode = failWith(parser.value("content") + ": expected an object");
            return false;
        }
        options->hasPromotion = true;
        options->promotion.background = adv.value("background").toString();
        options->promotion.url = adv.value("url").toString();
        options->promotion.icon = adv.value("icon").toString();
    }
    if (parser.isSet("plugins")) {
        QJsonDocument doc;
        if (!readJson(parser.value("plugins"), &doc, &error)) {
            *exitCode = failWith(error);
            return false;
        }
        for (const QJsonValue &plugin : doc.array()) {
            if (!plugin.toObject().value("path").isString() ||
                !plugin.toObject().value("md5").isString()) {
                *exitCode = failWith(parser.value("plugins") +
                                     ": every plug-in needs the strings \"path\" and \"md5\"");
                return false;
            }
        }
        if (!doc.isArray()) {
            *exitCode = failWith(parser.value("plugins") + ": expected an array");
            return false;
        }
        // A plug-in's local copy is named relative to the list that names it.
        const QDir listFolder = QFileInfo(parser.value("plugins")).absoluteDir();
        for (const QVariant &item : doc.array().toVariantList()) {
            QVariantMap plugin = item.toMap();
            if (plugin.contains(QStringLiteral("file")))
                plugin.insert(QStringLiteral("file"),
                              listFolder.absoluteFilePath(plugin.value("file").toString()));
            options->plugins << plugin;
        }
    }
    return true;
}

int gameCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Publishes a game version, given as VERSION=FOLDER: its full package, a difference "
        "package from every version the site has published (the site keeps their file "
        "lists), and the resource and content answers. Older versions may be given too, "
        "oldest first, when the site has no file list of theirs.");
    addGameOptions(parser);
    parser.addPositionalArgument("VERSION=FOLDER", "Game versions, oldest first.");
    int exitCode = 0;
    GamePublisher::Options options;
    if (!parse(parser, arguments, &exitCode) || !readGameOptions(parser, &options, &exitCode))
        return exitCode;
    QList<GamePublisher::Version> versions;
    for (const QString &argument : parser.positionalArguments()) {
        const int eq = argument.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq == argument.size() - 1)
            return failWith(
                QStringLiteral("\"%1\": give each version as VERSION=FOLDER").arg(argument));
        versions << GamePublisher::Version{argument.left(eq), argument.mid(eq + 1)};
    }
    QString error;
    QTextStream log(stdout);
    return GamePublisher::publish(versions, options, &error, &log) ? 0 : failWith(error);
}

int rollbackCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Publishes the content of an earlier game version, kept by the site, as a new version "
        "number: every install, whatever its version, ends with exactly that content.");
    addGameOptions(parser);
    parser.addOptions({
        option("to", "The earlier version whose content to restore.", "version"),
        option("version", "The new version number it is published as.", "version"),
    });
    int exitCode = 0;
    GamePublisher::Options options;
    if (!parse(parser, arguments, &exitCode) || !readGameOptions(parser, &options, &exitCode) ||
        !requireOptions(parser, {"to", "version"}, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return failWith(QStringLiteral("rollback takes no folder: the site keeps the content"));
    options.rollbackOf = parser.value("to");
    QString error;
    QTextStream log(stdout);
    return GamePublisher::publish({GamePublisher::Version{parser.value("version"), QString()}},
                                  options, &error, &log)
               ? 0
               : failWith(error);
}

int statusCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Tells what a site folder has live and what it keeps.");
    parser.addOptions({option("site", "Site folder.", "dir")});
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) || !requireOptions(parser, {"site"}, &exitCode))
        return exitCode;
    QString error;
    QTextStream out(stdout);
    return SiteStatus::print(parser.value("site"), out, &error) ? 0 : failWith(error);
}

int launcherCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Publishes a launcher folder as the updater's package and writes the release answer.");
    parser.addOptions({
        option("site", "Site folder to publish into.", "dir"),
        option("base-url", "Address the site folder is served at.", "url"),
        option("version", "The launcher's version.", "version"),
        option("name", "Package name (default launcher).", "name"),
        option("update-type", "1 optional (default), 2 compulsory.", "type"),
        option("launcher-id", "Launcher id the release is meant for (default 18).", "id"),
        option("sign-key", "Private key (from keygen) to sign the release with.", "file"),
        lockWaitOption(),
        QCommandLineOption("signed-rollback",
                           "Sign the release as a rollback: keyed launchers of a newer version "
                           "install it."),
        QCommandLineOption("change-signing",
                           "Publish unsigned onto a signed site, or signed onto an unsigned one."),
        option("expires-days",
               "Days keyed launchers believe the signed release answer (default 30); publish "
               "again before then.",
               "days"),
    });
    parser.addPositionalArgument("FOLDER", "The launcher folder as it ships.");
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) ||
        !requireOptions(parser, {"site", "base-url", "version"}, &exitCode) ||
        !readLockWait(parser, &exitCode))
        return exitCode;
    if (parser.positionalArguments().size() != 1)
        return failWith(QStringLiteral("give exactly one launcher folder"));
    LauncherPublisher::Options options;
    options.site = parser.value("site");
    options.baseUrl = parser.value("base-url");
    options.version = parser.value("version");
    options.folder = parser.positionalArguments().first();
    if (parser.isSet("name"))
        options.name = parser.value("name");
    options.signingKey = parser.value("sign-key");
    if (parser.isSet("sign-key") && options.signingKey.isEmpty())
        return failWith(emptySignKey());
    options.signedRollback = parser.isSet("signed-rollback");
    options.allowSigningChange = parser.isSet("change-signing");
    if (parser.isSet("expires-days")) {
        bool ok = false;
        options.expiresDays = parser.value("expires-days").toInt(&ok);
        if (!ok || options.expiresDays < 0)
            return failWith(QStringLiteral("--expires-days: a number of days, 0 or more"));
    }
    if (parser.isSet("launcher-id"))
        options.launcherId = parser.value("launcher-id");
    if (parser.isSet("update-type")) {
        bool ok = false;
        options.updateType = parser.value("update-type").toInt(&ok);
        if (!ok)
            return failWith(QStringLiteral("--update-type: 1 or 2"));
    }
    QString error;
    if (!publish::normaliseBaseUrl(&options.baseUrl, &error))
        return failWith(error);
    QTextStream log(stdout);
    return LauncherPublisher::publish(options, &error, &log) ? 0 : failWith(error);
}

int keygenCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Makes a publisher key pair: STEM.key, the private key that signs (keep it secret and "
        "out of the site folder), and STEM.pub, the public key launchers are built to trust.");
    parser.addOptions({option("out", "Path and name of the two files, without suffix.", "stem")});
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) || !requireOptions(parser, {"out"}, &exitCode))
        return exitCode;
    QString publicKey;
    QString error;
    if (!PackageSigner::generate(parser.value("out"), &publicKey, &error))
        return failWith(error);
    QTextStream(stdout) << "public key " << publicKey << "\nbuild launchers with "
                        << "-DLAUNCHER_PUBLISHER_KEYS=" << publicKey << Qt::endl;
    return 0;
}

int keylistCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Signs the list of signing keys with a root key: launchers built with the root key "
        "trust the listed keys until the list expires. Publish it with game --key-list.");
    parser.addOptions({
        option("root-key", "Private root key (from keygen) the launchers were built with.", "file"),
        option("out", "File to write the signed list to.", "file"),
        option("expires-days", "Days the list holds (default 365).", "days"),
    });
    parser.addPositionalArgument("KEY.pub", "Public signing keys (from keygen) to trust.");
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) ||
        !requireOptions(parser, {"root-key", "out"}, &exitCode))
        return exitCode;
    int days = 365;
    if (parser.isSet("expires-days")) {
        bool ok = false;
        days = parser.value("expires-days").toInt(&ok);
        if (!ok || days < 0)
            return failWith(QStringLiteral("--expires-days: a number of days, 0 or more"));
    }
    QString error;
    PackageSigner root;
    if (!SigningPolicy::loadKey(parser.value("root-key"), {}, &root, &error, nullptr))
        return failWith(error);
    SigningKeyList list;
    list.expires = QDateTime::currentDateTimeUtc().addDays(days);
    for (const QString &path : parser.positionalArguments()) {
        QFile file(path);
        QList<QByteArray> keys;
        if (!file.open(QIODevice::ReadOnly))
            return failWith(QStringLiteral("%1: cannot read: %2").arg(path, file.errorString()));
        if (!PackageTrust::parseKeyList(QString::fromLatin1(file.readAll()), &keys, &error) ||
            keys.size() != 1)
            return failWith(QStringLiteral("%1: not one public key (%2)").arg(path, error));
        list.keys << keys;
    }
    if (list.keys.isEmpty())
        return failWith(QStringLiteral("name at least one public signing key"));
    const QByteArray json = list.toJson();
    const QJsonObject field = PackageTrust::signatureField(json, root.sign(json), root.publicKey());
    QFile out(parser.value("out"));
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(field).toJson()) < 0 ||
        !out.flush())
        return failWith(
            QStringLiteral("%1: cannot write: %2").arg(parser.value("out"), out.errorString()));
    QTextStream(stdout) << "signed " << list.keys.size() << " signing key(s) until "
                        << list.expires.toString(Qt::ISODate) << Qt::endl;
    return 0;
}

int serveCommand(QCoreApplication &app, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Serves a site folder on 127.0.0.1 for local trials.");
    parser.addOptions({
        option("site", "Site folder to serve.", "dir"),
        option("port", "Port (default 0: a free one).", "port"),
        option("report-log",
               "File the decoded telemetry reports are appended to (default "
               "reports.log beside the site).",
               "file"),
        option("port-file", "Write the port here once listening.", "file"),
    });
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) || !requireOptions(parser, {"site"}, &exitCode))
        return exitCode;
    const QString site = parser.value("site");
    const QString reportLog = parser.isSet("report-log")
                                  ? parser.value("report-log")
                                  : QDir(site).absolutePath() + QStringLiteral(".reports.log");
    SiteServer server(site, reportLog);
    QString error;
    if (!server.listen(quint16(parser.value("port").toUInt()), &error))
        return failWith(error);
    if (parser.isSet("port-file")) {
        QSaveFile portFile(parser.value("port-file"));
        if (!portFile.open(QIODevice::WriteOnly) ||
            portFile.write(QByteArray::number(server.port())) < 0 || !portFile.commit())
            return failWith(parser.value("port-file") + ": cannot write");
    }
    QTextStream(stdout) << "serving " << QDir(site).absolutePath()
                        << " on http://127.0.0.1:" << server.port() << ", reports to " << reportLog
                        << Qt::endl;
    return app.exec();
}

int nginxCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Prints an nginx server block that serves a site folder.");
    parser.addOptions({
        option("site", "Site folder to serve.", "dir"),
        option("listen", "nginx listen address (default 80).", "address"),
        option("report-log",
               "Log of telemetry reports (default "
               "/var/log/nginx/lunmere-reports.log).",
               "file"),
    });
    int exitCode = 0;
    if (!parse(parser, arguments, &exitCode) || !requireOptions(parser, {"site"}, &exitCode))
        return exitCode;
    QTextStream(stdout) << SiteServer::nginxServerBlock(
        parser.value("site"), parser.isSet("listen") ? parser.value("listen") : "80",
        parser.isSet("report-log") ? parser.value("report-log")
                                   : "/var/log/nginx/lunmere-reports.log");
    return 0;
}

// A run stopped by a signal ends as a shell expects of one.
int exitCodeOf(int code)
{
    return Interruption::requested() ? 128 + Interruption::signal() : code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lunmere-publish"));
    QStringList arguments = app.arguments();
    const QString command = arguments.value(1);
    // A stopped publishing run removes its staging folder and its 7z on the way out; the
    // server and the other commands keep the default end on a signal.
    if (command == QLatin1String("game") || command == QLatin1String("launcher") ||
        command == QLatin1String("rollback"))
        Interruption::install();
    if (arguments.size() > 1)
        arguments.removeAt(1);
    if (command == QLatin1String("game"))
        return exitCodeOf(gameCommand(arguments));
    if (command == QLatin1String("launcher"))
        return exitCodeOf(launcherCommand(arguments));
    if (command == QLatin1String("rollback"))
        return exitCodeOf(rollbackCommand(arguments));
    if (command == QLatin1String("status"))
        return statusCommand(arguments);
    if (command == QLatin1String("keygen"))
        return keygenCommand(arguments);
    if (command == QLatin1String("keylist"))
        return keylistCommand(arguments);
    if (command == QLatin1String("nginx"))
        return nginxCommand(arguments);
    if (command == QLatin1String("report"))
        return reportCommand(arguments);
    if (command == QLatin1String("serve"))
        return serveCommand(app, arguments);
    fputs(kUsage, command.isEmpty() || command == QLatin1String("--help") ? stdout : stderr);
    return command.isEmpty() || command == QLatin1String("--help") ? 0 : 2;
}

#pragma once

#include <QString>
#include <QTextStream>

// Publishes a launcher folder as the package the updater takes, and the release answer that
// offers it to every launcher but the one of this version.
class LauncherPublisher
{
public:
    struct Options
    {
        QString site;
        QString baseUrl;
        QString folder;
        QString version;
        QString name = QStringLiteral("launcher");
        int updateType = 1;
        QString launcherId = QStringLiteral("18");
        QString signingKey;          // the publisher's private key; the release gets a signature
        bool signedRollback = false; // keyed launchers of a newer version take it
        bool allowSigningChange = false; // switch the site between signed and unsigned
        int expiresDays = 30; // how long a keyed launcher believes the signed release answer
    };

    // The answer for launchers of other versions; "<this>.<version>" answers the released one.
    static QString releasePath();
    static QString packageFolder();
    // The file in a shipped folder that names the version its launcher was built as.
    static QString versionFileName();

    // Whether folder is a clean shipped folder of a launcher built as version.
    static bool checkShippedFolder(const QString &folder, const QString &version, QString *error);

    static bool publish(const Options &options, QString *error, QTextStream *log = nullptr);
};

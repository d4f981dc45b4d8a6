#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

// The hand-off from the launcher to its updater: what to fetch, which launcher to replace, in
// which language to talk. It travels as the updater's two arguments, the instance name and one
// compact JSON object; launchers and updaters of different releases hand off to each other, so
// the keys and their encoding never change, and a key one side does not know is ignored.
class UpdatePlan
{
public:
    QString instance;        // names the updater's interlock
    QString launcherPath;    // "exe_dir": the launcher's executable, absolute
    QString languageCode;    // "lang"
    QString packageUrl;      // "pkg_url"
    QString packageMd5;      // "pkg_md5"
    QJsonObject signature;   // "pkg_signature", only with publisher keys
    QJsonObject signingKeys; // "signing_keys", only with publisher keys

    // The instance name and the JSON object (keys sorted, no spaces), as QProcess takes them.
    QStringList toArguments() const;
    // The arguments after the program's name. Nothing when the JSON argument is missing; a
    // missing key or one of another type reads as empty, so the updater can still say in the
    // player's language what was wrong.
    static std::optional<UpdatePlan> fromArguments(const QStringList &arguments);

    // An absolute path naming an executable (with the platform's suffix), without "." or ".."
    // steps: a launcher writes its own path, which has none.
    bool hasUsableLauncherPath() const;
    // An http(s) address with a host and a last step.
    bool hasUsablePackageUrl() const;
    // The address's last step, decoded, as the address says it: not yet a name to save under.
    QString addressFileName() const;
};

#pragma once

#include <QJsonObject>
#include <QString>

// The updater's own look at the downloaded launcher package before unpacking it: anyone can
// start the updater with a command line of their choosing, so the launcher's check is not
// enough.
namespace UpdaterPackageCheck {

// True without trusted keys; otherwise only for a package at `packageFile` that the signature
// field from the command line describes (its name, MD5, SHA-256 and size) and that a trusted
// key signed.
bool isTrusted(const QString &packageFile, const QString &md5, const QJsonObject &signature,
               QString *why);

} // namespace UpdaterPackageCheck

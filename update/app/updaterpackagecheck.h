#pragma once

#include <QJsonObject>
#include <QString>

#include "errordefine.h"

// The updater's own look at the downloaded launcher package before unpacking it: anyone can
// start the updater with a command line of their choosing, so the launcher's check is not
// enough.
namespace UpdaterPackageCheck {

// The launcher this updater ships with: what a release must be for and must not be older than.
// Compiled in, so that a forged command line cannot lower it.
QString launcherId();
QString launcherVersion();

// Trusts the signing keys of a list that a root key signed and that has not expired; a list
// that does not pass is ignored (packages its keys signed are then refused).
void acceptSigningKeys(const QJsonObject &field);

// True without trusted keys; otherwise only for a statement, signed by a trusted key, of a
// launcher release for this launcher, not older than it (unless signed as a rollback), named
// and with the MD5 the command line gives. Checked before the download: a refusal costs no byte.
bool isStatementTrusted(const QString &packageFile, const QString &md5,
                        const QJsonObject &signature, QString *why,
                        ErrorDefine::ErrorCode *code = nullptr);
// isStatementTrusted, and the file at `packageFile` is the one the statement describes (its
// MD5, SHA-256 and size).
bool isTrusted(const QString &packageFile, const QString &md5, const QJsonObject &signature,
               QString *why, ErrorDefine::ErrorCode *code = nullptr);

} // namespace UpdaterPackageCheck

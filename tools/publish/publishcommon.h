#pragma once

#include "packagedigest.h"

#include <QString>

// Small checks and file helpers the publishing commands share.
namespace publish {

bool fail(QString *error, const QString &message);
// Letters, digits, '.', '_' and '-': safe in file names and addresses alike.
bool isValidName(const QString &name);
// Dotted decimal numbers, as the launcher compares them.
bool isValidVersion(const QString &version);
// The file's MD5 (lower-case hex) and size.
// MD5, SHA-256 and size of a package, read once: the manifest and the signature share them.
bool digestOf(const QString &path, PackageDigest *digest, QString *error);
// The address with trailing slashes removed; false when it is not http(s).
bool normaliseBaseUrl(QString *url, QString *error);

} // namespace publish

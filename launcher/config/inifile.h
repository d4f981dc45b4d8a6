#pragma once

#include <QString>
#include <QVariant>

class QByteArray;

// Guards for the INI files the launcher rewrites through QSettings. QSettings silently drops
// every line it cannot parse when it writes a file back, so a file that is not INI (a stray
// JSON file, binary garbage, a half-written download) would be replaced by the few keys the
// launcher knows. These helpers let the callers keep such a file before touching it.
namespace IniFile {

// Whether every non-blank line is a comment, a [section] header or a key=value pair: the
// lines QSettings keeps when it rewrites the file.
bool looksLikeIni(const QByteArray &content);

// When the file at path exists and does not look like INI, copies it beside itself as
// "<name>.bad" (".bad.2", ".bad.3"... when that exists) and returns the copy's path.
// Returns an empty string when nothing needed keeping or the copy could not be made.
QString keepUnreadableCopy(const QString &path);

// A settings value as text. QSettings reads "a,b" as a list, whose toString() is empty: a
// value with a comma must not look absent to the default steps.
QString toText(const QVariant &value);

} // namespace IniFile

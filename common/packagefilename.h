#pragma once

#include <QString>

// Downloaded packages are saved beside files that matter (the launcher, its settings, the
// game, the updater's folders): only a plain package name may choose where the bytes land.
namespace PackageFileName {
// One name with no folder in it (no separator of any system), not hidden, not "." or "..".
bool isPlainName(const QString &name);
// A plain name with a suffix the extraction knows.
bool isPlain(const QString &name);
} // namespace PackageFileName

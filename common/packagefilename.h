#pragma once

#include <QString>

// Downloaded packages are saved beside files that matter (the launcher, its settings, the
// game, the updater's folders): only a plain package name may choose where the bytes land.
namespace PackageFileName {
// One name with no folder in it, not hidden, and a suffix the extraction knows.
bool isPlain(const QString &name);
} // namespace PackageFileName

#pragma once

class QString;

// Compares dotted version numbers part by part, up to the shorter one's length.
// Returns 1 when a is the older version, -1 when it is the newer one, 0 when they are equal
// over the compared parts (so "1.2" and "1.2.1" give 0), and -2 when a compared part is not a
// decimal number (so an empty version always gives -2 against another version).
int compareVersion(const QString &a, const QString &b);

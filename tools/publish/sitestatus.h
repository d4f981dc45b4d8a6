#pragma once

#include <QString>

class QTextStream;

// What a site folder serves and keeps, for `lunmere-publish status`: the live game release with
// its packages, the kept versions, the packages in their grace period, the launcher release.
class SiteStatus
{
public:
    static bool print(const QString &site, QTextStream &out, QString *error);
};

#pragma once

#include <QString>

// One difference package of the manifest: it turns the installed game of `version` into the
// current one.
struct DiffPackageInfo
{
    QString name;
    QString md5;
    QString path;    // URL of the package
    QString version; // the installed version it updates from
    QString size;    // decimal text, as the service sends it
};

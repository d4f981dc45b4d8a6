#pragma once

#include <QString>

#include "errordefine.h"

class UpdateVersionInfo;

// Lets a resource answer decide what a launcher with publisher keys installs and starts only
// through the publisher's signed document: signed by a trusted key, for this launcher, not
// expired and not older than the last one this installation accepted. Its fields then replace
// the answer's own. Without keys every answer passes unchanged.
class ManifestGate
{
public:
    // The newest document version this installation accepted, kept in the launcher's
    // configuration so that a replayed older answer is refused after a restart too.
    static qint64 lastAccepted();
    // The game this launcher is built for (the LAUNCHER_GAME_PRODUCT build option). Without
    // one, the game the first accepted document names is kept in the configuration: another
    // game's genuine answer, signed with the same key for the same launcher, is refused after.
    static void setBuiltInProduct(const QString &product);
    static QString expectedProduct();

    static bool admit(UpdateVersionInfo *manifest, QString *why, ErrorDefine::ErrorCode *code);
};

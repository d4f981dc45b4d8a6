#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

class PackageSigner;

// The publisher's guard rails around signing: a key that cannot be used is a clear error, a
// private key never travels in a published folder, and a site does not switch between signed
// and unsigned by accident (keyed launchers refuse everything unsigned; unkeyed ones never
// notice the switch back).
class SigningPolicy
{
public:
    // Loads `keyPath` into `signer` after making sure it is a readable file outside every
    // folder of `published`; warns on `log` when others may read it.
    static bool loadKey(const QString &keyPath, const QStringList &published, PackageSigner *signer,
                        QString *error, QTextStream *log);
    // False (and *found names it) when `folder` holds a private key of any kind.
    static bool holdsNoPrivateKey(const QString &folder, QString *found);
    // A site whose answer at `answerFile` was signed must stay signed, and the reverse, unless
    // `allowChange`. A site without the answer yet takes either.
    static bool checkSiteSigning(const QString &answerFile, bool signing, bool allowChange,
                                 QString *error);
    // The metadata version for the next signed answer: above the one in the site's current
    // answer at `answerFile` and never below the clock's seconds, so that it still counts up
    // after a site is rebuilt from nothing.
    static qint64 nextMetadataVersion(const QString &answerFile);
};

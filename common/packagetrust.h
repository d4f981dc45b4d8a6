#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include "errordefine.h"

// What the publisher signs for one package: the file, its digests and the release it belongs
// to. Travels as compact JSON text, so the signed bytes are exactly the bytes received.
struct PackageStatement
{
    QString name; // the package's file name, as its address names it
    qint64 size = -1;
    QString sha256;  // lower-case hex
    QString md5;     // lower-case hex, the digest the manifest carries
    QString version; // the game or launcher version the package installs
    QString from;    // a difference package: the installed version it updates from
    // What the package is for: without these a signed package of one product could be
    // installed as another, or a game package unpacked over the launcher.
    QString launcher; // the launcher id the package is published for
    QString product;  // the game's name, or the launcher id for a launcher release
    QString kind;     // one of the k*Kind values below
    // The full game package only: the file list a repair checks the installed game against.
    QString filesSha256;
    qint64 filesSize = -1;
    // The publisher means this version to replace a newer installed one.
    bool rollback = false;

    static constexpr const char *kFullKind = "full";
    static constexpr const char *kDifferenceKind = "difference";
    static constexpr const char *kPluginKind = "plugin";
    static constexpr const char *kLauncherKind = "launcher";

    QByteArray toJson() const;
    static bool fromJson(const QByteArray &json, PackageStatement *statement, QString *why);
};

// What the manifest says a package should be, together with the signature field it carried.
struct SignedPackage
{
    QJsonObject signature; // {"statement", "signature", "key"}; empty when none came
    QString name;
    QString version;
    QString from;
    QString md5;
    qint64 size = -1; // -1 when the manifest gives none
    // The updater learns no version from its command line: any signed one will do there.
    bool checkVersion = true;
    // What the statement must name; an empty value is not compared. The launcher and the
    // updater always fill them in (see SignedPackages and UpdaterPackageCheck).
    QString launcher;
    QString product;
    QString kind;
    // The version installed now: an older statement passes only as a signed rollback.
    QString installedVersion;
};

// Decides whether a package comes from the publisher: an Ed25519 signature, by a key this
// program trusts, over a statement that matches the manifest and the downloaded file. With no
// key configured nothing is checked.
class PackageTrust
{
public:
    // Raw 32-byte Ed25519 public keys; the program's main sets the compiled-in list, the root
    // keys. They sign packages themselves or a list of signing keys (SigningKeyList).
    static void setTrustedKeys(const QList<QByteArray> &keys);
    // Root keys and the signing keys of the accepted list.
    static QList<QByteArray> trustedKeys();
    static QList<QByteArray> rootKeys();
    // The signing keys a root key listed, and the list's field as it came (the launcher hands
    // it on to the updater); an empty list drops them.
    static void setDelegatedKeys(const QList<QByteArray> &keys, const QJsonObject &field);
    static QJsonObject delegatedField();
    static bool isEnabled();
    // Trusts the keys a program was built with; a list that does not parse stops the program
    // rather than let it run without the checks its publisher asked for.
    static void installBuiltInKeys(const char *text);

    // Base64 keys separated by ';', ',' or white space; false (and *why) on a bad one.
    static bool parseKeyList(const QString &text, QList<QByteArray> *keys, QString *why);
    // A short name for a key: the first eight bytes of its SHA-256, in hex.
    static QString keyId(const QByteArray &rawKey);

    // The signed text of a {"statement", "signature", "key"} field, when its signature is well
    // formed and made by a trusted key; false (and *why) otherwise.
    static bool verifyField(const QJsonObject &field, QByteArray *signedText, QString *why);
    // The same against the given keys only.
    static bool verifyField(const QJsonObject &field, const QList<QByteArray> &keys,
                            QByteArray *signedText, QString *why);

    // The field a manifest carries for a statement signed with `signature` by `rawKey`.
    static QJsonObject signatureField(const QByteArray &statementJson, const QByteArray &signature,
                                      const QByteArray &rawKey);

    // The signature is well formed, made by a trusted key over a statement that names the
    // package the manifest describes (name, version, source version, MD5 and size).
    // It also names the launcher, product and kind expected, and is not older than the
    // installed version unless signed as a rollback. *code tells a refusal's error code.
    static bool checkStatement(const SignedPackage &expected, PackageStatement *statement,
                               QString *why, ErrorDefine::ErrorCode *code = nullptr);
    // checkStatement, and the statement describes a file with these digests and length.
    static bool checkFile(const SignedPackage &expected, const QString &md5, const QString &sha256,
                          qint64 size, QString *why, ErrorDefine::ErrorCode *code = nullptr);

    // The translated text players see with PACKAGE_SIGNATURE_ERROR.
    static QString errorMessage(const QString &why);
    // The translated text for any of the signature codes.
    static QString errorMessage(ErrorDefine::ErrorCode code, const QString &why);

    // Dotted version order: negative when a is older than b, 0 when equal, positive when newer;
    // parts that are not numbers compare as text.
    static int compareVersions(const QString &a, const QString &b);
};

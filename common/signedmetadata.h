#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include "errordefine.h"

// The publisher's signed document over an answer's decisive fields (which game version, its
// entry, its file list, its plug-ins, the forced launcher update), in the spirit of TUF's
// targets metadata: it names what it is for, counts up with every publication so that an older
// answer cannot be replayed, and expires so that a frozen one cannot be served for ever. It
// travels as the signed text itself beside the answer's own fields, so the bytes checked are
// the bytes received and no canonical form is needed.
struct SignedMetadata
{
    QString type;       // "game" for the resource answer, "launcher" for the release answer
    QString launcher;   // the launcher id it is published for
    QString product;    // the game's name
    qint64 counter = 0; // metadata version, increasing with every publication
    QDateTime expires;  // UTC
    QJsonObject fields; // the covered answer fields

    static constexpr const char *kGameType = "game";
    static constexpr const char *kLauncherType = "launcher";

    QByteArray toJson() const;
    static bool fromJson(const QByteArray &json, SignedMetadata *metadata, QString *why);

    // The document in a {"statement", "signature", "key"} field, signed by a trusted key, of
    // `type`, for `launcher`, not expired at `now` and not older than `lastCounter` (what this
    // install saw last). *code tells which refusal.
    static bool verify(const QJsonObject &field, const QString &type, const QString &launcher,
                       qint64 lastCounter, const QDateTime &now, SignedMetadata *metadata,
                       QString *why, ErrorDefine::ErrorCode *code);
};

#pragma once

#include <QJsonDocument>
#include <QString>

#include "errordefine.h"

// Lets the release answer offer a launcher with publisher keys a new launcher only through the
// publisher's signed document ("signed" beside the answer's fields): signed by a trusted key,
// for this launcher, not expired and not older than the last one this installation accepted.
// Every field of the answer then comes from it. Without keys every answer passes unchanged.
class ReleaseGate
{
public:
    // The newest release document version this installation accepted.
    static qint64 lastAccepted();

    // On success with keys, *answer is rebuilt from the signed fields alone.
    static bool admit(QJsonDocument *answer, QString *why, ErrorDefine::ErrorCode *code);
};

#pragma once

#include <QString>

#include "errordefine.h"

// Where the extraction callbacks send what they see. The object that runs an extraction
// implements it, so a failure inside the library always reaches the run that caused it.
// Called from the library's threads: implementations emit queued signals only.
class ExtractReporter
{
public:
    virtual ~ExtractReporter() = default;
    virtual void reportProgress(qlonglong completed, qlonglong total) = 0;
    // An item is about to be written; its path inside the archive with "/" separators.
    virtual void reportItemPath(const QString &path) = 0;
    // A failure; also marks the run as failed.
    virtual void reportError(ErrorDefine::ErrorCode code, const QString &message) = 0;
};

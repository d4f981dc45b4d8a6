#pragma once

#include <QFile>
#include <QString>

#include <functional>

#include "errordefine.h"
#include "patchpackage.h"

// Applies a patch package to an installed game so that a run cut short at any point leaves
// every file wholly old or wholly new. Each new file is made next to the one it replaces
// under a staged name and checked against its digest before anything is replaced; a journal
// in the game folder says whether the run was still making files (then the next start throws
// them away: the game is still the old version) or already replacing them (then the next
// start finishes). The recorded version changes only after the last file is in place.
class PatchApplier
{
public:
    enum class Outcome {
        Nothing,    // resume: no patch run was cut short
        Applied,    // the game is the new version and the version is recorded
        RolledBack, // resume: the cut-short run is undone; the game is still the old version
        Unusable,   // the game is unchanged; the ordinary packages can still update it
        Failed      // files could not be replaced; the journal stays for the next start
    };

    struct Result
    {
        Outcome outcome = Outcome::Nothing;
        ErrorDefine::ErrorCode code = ErrorDefine::DEFAULTT;
        QString message;
        QString version; // Applied: the version now installed
    };

    // Records the installed version; false when it cannot (the next start tries again).
    using RecordVersion = std::function<bool(const QString &version)>;

    static QString journalName();

    void setProgress(std::function<void(qint64 done, qint64 total)> progress)
    {
        m_progress = std::move(progress);
    }
    // Called after every step that changes the disk; a test ends the process there.
    void setStepHook(std::function<void()> hook) { m_stepHook = std::move(hook); }

    Result apply(const QString &folder, const QString &package, const RecordVersion &record);
    // What a start does first: end a cut-short run one way or the other.
    Result resume(const QString &folder, const RecordVersion &record);

private:
    // Writes the file's new content under its staged name, checked against its digest;
    // written(bytes) follows it. *wrongBase when the installed base is not the one the patch
    // was made from.
    bool stage(const QString &folder, QFile &source, qint64 dataOffset,
               const PatchPackage::File &file, const std::function<void(qint64)> &written,
               bool *wrongBase, QString *error);
    Result commit(const QString &folder, const PatchPackage &index, const RecordVersion &record);
    void rollBack(const QString &folder, const PatchPackage &index, const QStringList &created);
    bool writeJournal(const QString &folder, const QString &state, const PatchPackage &index,
                      const QStringList &created, QString *error);
    void step()
    {
        if (m_stepHook)
            m_stepHook();
    }

    std::function<void(qint64, qint64)> m_progress;
    std::function<void()> m_stepHook;
};

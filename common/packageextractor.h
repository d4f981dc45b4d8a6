#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class ExtractReporter;
class SevenZipLibrary;

// Opens a package through 7-Zip and writes its items into a folder, refusing before anything
// is written what must never be written: an item leading outside the folder, a package that
// lacks an item asked for, an item that needs a password, or whatever the caller's own check
// refuses. The installer, the repair and the updater differ only in how they word a failure.
class PackageExtractor
{
public:
    enum class Failure {
        None,
        Library,      // 7-Zip could not be loaded
        Format,       // detail: the suffix no handler is known for
        ArchiveClass, // the handler could not be created
        PackageFile,  // detail: the package that could not be opened
        Password,     // the package or an item needs a password
        NotAnArchive, // detail: the package 7-Zip could not read
        EscapingItem, // detail: the item's disk path outside the folder
        MissingItem,  // detail: the item asked for that the package lacks
        Refused,      // detail: what the caller's check said
        Extraction,   // the library failed while writing
    };
    struct Outcome
    {
        Failure failure = Failure::None;
        QString detail;
        bool ok() const { return failure == Failure::None; }
    };
    // Given the normalized paths about to be written; returns why they must not be, or an
    // empty string.
    using Check = std::function<QString(const QStringList &items)>;

    PackageExtractor(SevenZipLibrary *library, ExtractReporter *reporter);

    // Only these items (normalized paths); all of them when never set.
    void setItems(const QStringList &items);
    void setCheck(Check check);

    // The package's format is taken from its file name's suffix.
    Outcome extract(const QString &packagePath, const QString &folder);

private:
    SevenZipLibrary *m_library;
    ExtractReporter *m_reporter;
    QStringList m_items;
    bool m_selected = false;
    Check m_check;
};

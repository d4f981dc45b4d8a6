#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

#include "sevenzipabi.h"

// 7-Zip's shared library, loaded on first use and never unloaded. Only a library whose
// COM objects match our vtable layout is accepted: older builds put a destructor in
// IUnknown, and calling them with this layout corrupts memory.
class SevenZipLibrary
{
public:
    SevenZipLibrary();

    // The program's own folder first, then the build's fallback path.
    static QStringList defaultCandidates();
    void setCandidates(const QStringList &paths);
    QStringList candidates() const { return m_candidates; }

    // Loads the first acceptable candidate; true when CreateObject can be called.
    bool resolve();
    QString errorString() const { return m_error; }
    QString loadedPath() const { return m_loadedPath; }

    SevenZip::HRESULT createObject(const SevenZip::GUID &classId, const SevenZip::GUID &iid,
                                   void **object) const;
    // Frees what the library allocated inside a PROPVARIANT and resets it to VT_EMPTY.
    void clearVariant(SevenZip::PROPVARIANT *value) const;

    // 7-Zip hands out UTF-16 code units widened to wchar_t.
    static QString fromBstr(const wchar_t *text);

private:
    bool tryLoad(const QString &path);

    QStringList m_candidates;
    QLibrary m_library;
    QString m_loadedPath;
    QString m_error;
    SevenZip::CreateObjectFunc m_createObject = nullptr;
    SevenZip::VariantClearFunc m_variantClear = nullptr;
};

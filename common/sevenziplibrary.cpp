#include "sevenziplibrary.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef LUNMERE_SEVENZIP_FALLBACK
#define LUNMERE_SEVENZIP_FALLBACK ""
#endif

using namespace SevenZip;

namespace {
#ifdef Q_OS_WIN
const char kLibraryName[] = "7z.dll";
#else
const char kLibraryName[] = "7z.so";
#endif
} // namespace

SevenZipLibrary::SevenZipLibrary()
    : m_candidates(defaultCandidates())
{}

QStringList SevenZipLibrary::defaultCandidates()
{
    QStringList paths;
    if (QCoreApplication::instance())
        paths << QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                     QLatin1String(kLibraryName);
    else
        paths << QLatin1String(kLibraryName);
    const QString fallback = QString::fromUtf8(LUNMERE_SEVENZIP_FALLBACK);
    if (!fallback.isEmpty() && !paths.contains(fallback))
        paths << fallback;
    return paths;
}

void SevenZipLibrary::setCandidates(const QStringList &paths)
{
    if (m_createObject)
        return; // a library once loaded stays in use
    m_candidates = paths;
}

bool SevenZipLibrary::resolve()
{
    if (m_createObject)
        return true;
    QStringList reasons;
    for (const QString &path : qAsConst(m_candidates)) {
        if (!QFileInfo::exists(path) && QFileInfo(path).isAbsolute()) {
            reasons << path + QLatin1String(": not found");
            continue;
        }
        if (tryLoad(path))
            return true;
        reasons << m_error;
    }
    m_error = reasons.join(QLatin1String("; "));
    return false;
}

bool SevenZipLibrary::tryLoad(const QString &path)
{
    QLibrary library(path);
    if (!library.load()) {
        m_error = library.errorString();
        return false;
    }
    auto getModuleProp = reinterpret_cast<GetModulePropFunc>(library.resolve("GetModuleProp"));
    auto createObject = reinterpret_cast<CreateObjectFunc>(library.resolve("CreateObject"));
    auto variantClear = reinterpret_cast<VariantClearFunc>(library.resolve("VariantClear"));
    if (!createObject || !getModuleProp || !variantClear) {
        m_error = path + QLatin1String(": CreateObject, GetModuleProp or VariantClear missing");
        return false; // stays mapped: unloading a library we may have touched is not worth it
    }
    PROPVARIANT interfaceType;
    const HRESULT result = getModuleProp(0, &interfaceType);
    if (result != S_OK || interfaceType.vt != VT_UI4 || interfaceType.ulVal != 0) {
        m_error = path + QLatin1String(": COM interface layout not supported");
        return false;
    }
    m_library.setFileName(path);
    m_library.load();
    m_loadedPath = path;
    m_createObject = createObject;
    m_variantClear = variantClear;
    m_error.clear();
    return true;
}

HRESULT SevenZipLibrary::createObject(const GUID &classId, const GUID &iid, void **object) const
{
    *object = nullptr;
    if (!m_createObject)
        return E_FAIL;
    return m_createObject(&classId, &iid, object);
}

void SevenZipLibrary::clearVariant(PROPVARIANT *value) const
{
    if (m_variantClear && value->vt != VT_EMPTY)
        m_variantClear(value);
    value->vt = VT_EMPTY;
    value->uhVal = 0;
}

QString SevenZipLibrary::fromBstr(const wchar_t *text)
{
    if (!text)
        return QString();
    // The length prefix, not the first NUL, ends the text: an embedded NUL must stay visible
    // so that path checks can refuse it instead of the file system cutting the name short.
    const std::uint32_t bytes = *(reinterpret_cast<const std::uint32_t *>(text) - 1);
    const std::uint32_t count = bytes / sizeof(wchar_t);
    QString result;
    result.reserve(static_cast<int>(count));
    for (std::uint32_t i = 0; i < count; ++i)
        result.append(QChar(static_cast<char16_t>(text[i])));
    return result;
}

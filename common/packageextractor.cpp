#include "packageextractor.h"

#include <QDebug>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <vector>

#include "archiveitempath.h"
#include "carchiveextractcallback.h"
#include "carchiveopencallback.h"
#include "cinfilestream.h"
#include "comref.h"
#include "sevenziplibrary.h"

using namespace SevenZip;

namespace {
// Self-extracting packages carry a stub of at most this size before the archive.
constexpr UInt64 kMaxStartSearch = 8 * 1024 * 1024;

bool suffixFormat(const QString &suffix, GUID *classId)
{
    if (suffix == QLatin1String("7z"))
        *classId = CLSID_Format7z;
    else if (suffix == QLatin1String("zip"))
        *classId = CLSID_FormatZip;
    else if (suffix == QLatin1String("rar"))
        *classId = CLSID_FormatRar;
    else
        return false;
    return true;
}

PackageExtractor::Outcome failed(PackageExtractor::Failure failure, const QString &detail = {})
{
    return {failure, detail};
}
} // namespace

PackageExtractor::PackageExtractor(SevenZipLibrary *library, ExtractReporter *reporter)
    : m_library(library)
    , m_reporter(reporter)
{}

void PackageExtractor::setItems(const QStringList &items)
{
    m_items = items;
    m_selected = true;
}

void PackageExtractor::setCheck(Check check)
{
    m_check = std::move(check);
}

PackageExtractor::Outcome PackageExtractor::extract(const QString &packagePath,
                                                    const QString &folder)
{
    if (!m_library->resolve()) {
        qWarning() << "7-Zip library:" << m_library->errorString();
        return failed(Failure::Library);
    }
    const QString suffix = QFileInfo(packagePath).suffix().toLower();
    GUID classId;
    if (!suffixFormat(suffix, &classId))
        return failed(Failure::Format, suffix);
    ComRef<IInArchive> archive;
    if (m_library->createObject(classId, IID_IInArchive, archive.receive()) != S_OK ||
        !archive.get())
        return failed(Failure::ArchiveClass);

    ComRef<CInFileStream> input(new CInFileStream);
    if (const int error = input->open(packagePath)) {
        qWarning() << "open package:" << packagePath << qt_error_string(error);
        return failed(Failure::PackageFile, packagePath);
    }
    ComRef<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
    const HRESULT opened = archive->Open(input.get(), &kMaxStartSearch, openCallback.get());
    if (opened != S_OK)
        return failed(openCallback->passwordAsked() ? Failure::Password : Failure::NotAnArchive,
                      packagePath);

    ComRef<CArchiveExtractCallback> callback(
        new CArchiveExtractCallback(archive.get(), m_library, folder, m_reporter));

    // Everything below is refused before the first byte is written, so such a package
    // changes nothing at all.
    const QString escaping = callback->firstEscapingItem();
    if (!escaping.isNull())
        return failed(Failure::EscapingItem, escaping);

    UInt32 count = 0;
    archive->GetNumberOfItems(&count);
    QHash<QString, UInt32> indexOf;
    QStringList all;
    for (UInt32 i = 0; i < count; ++i) {
        PROPVARIANT value;
        if (archive->GetProperty(i, kpidPath, &value) == S_OK && value.vt == VT_BSTR) {
            const QString path =
                ArchiveItemPath::normalized(SevenZipLibrary::fromBstr(value.bstrVal));
            indexOf.insert(path, i);
            all << path;
        }
        m_library->clearVariant(&value);
    }
    std::vector<UInt32> indices;
    if (m_selected) {
        for (const QString &item : qAsConst(m_items)) {
            const auto found = indexOf.constFind(item);
            if (found == indexOf.constEnd())
                return failed(Failure::MissingItem, item);
            indices.push_back(found.value());
        }
        // 7-Zip wants the indices in ascending order.
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    }
    if (m_check) {
        const QString refusal = m_check(m_selected ? m_items : all);
        if (!refusal.isEmpty())
            return failed(Failure::Refused, refusal);
    }
    // No password is ever known: say so once, before any folder or file is made.
    if (callback->hasEncryptedItem())
        return failed(Failure::Password, packagePath);

    const HRESULT extracted =
        m_selected ? archive->Extract(indices.data(), UInt32(indices.size()), 0, callback.get())
                   : archive->Extract(nullptr, 0xFFFFFFFF, 0, callback.get());
    callback->finish();
    if (extracted != S_OK) {
        qWarning() << "7-Zip Extract failed:" << Qt::hex << static_cast<quint32>(extracted);
        return failed(Failure::Extraction);
    }
    return {};
}

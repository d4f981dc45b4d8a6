#pragma once

#include <cstdint>

// The binary interface of 7-Zip's shared library: COM-style interfaces without a virtual
// destructor slot, 32-bit HRESULTs and 16-byte PROPVARIANTs. Everything lives in a namespace
// on purpose: global C symbols such as SysAllocString or VariantClear in this program would
// hijack the library's own calls to them.
namespace SevenZip {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using PROPID = std::uint32_t;
using VARTYPE = std::uint16_t;
using UInt32 = std::uint32_t;
using Int32 = std::int32_t;
using UInt64 = std::uint64_t;
using Int64 = std::int64_t;
using BSTR = wchar_t *;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

// What the library makes of a failed system call; E_FAIL when errno says nothing.
inline HRESULT hresultFromErrno(int error)
{
    return error == 0
               ? E_FAIL
               : static_cast<HRESULT>(0x88000000u | (static_cast<std::uint32_t>(error) & 0xFFFFu));
}

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

inline bool operator==(const GUID &a, const GUID &b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i])
            return false;
    }
    return true;
}

// {23170F69-40C1-278A-0000-00gg00ss0000}
constexpr GUID interfaceId(std::uint8_t group, std::uint8_t sub)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, sub, 0, 0}};
}

// {23170F69-40C1-278A-1000-000110xx0000}
constexpr GUID formatClassId(std::uint8_t format)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, format, 0, 0}};
}

constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IProgress = interfaceId(0x00, 0x05);
constexpr GUID IID_ISequentialInStream = interfaceId(0x03, 0x01);
constexpr GUID IID_ISequentialOutStream = interfaceId(0x03, 0x02);
constexpr GUID IID_IInStream = interfaceId(0x03, 0x03);
constexpr GUID IID_IOutStream = interfaceId(0x03, 0x04);
constexpr GUID IID_IStreamGetSize = interfaceId(0x03, 0x06);
constexpr GUID IID_ICryptoGetTextPassword = interfaceId(0x05, 0x10);
constexpr GUID IID_IArchiveOpenCallback = interfaceId(0x06, 0x10);
constexpr GUID IID_IArchiveExtractCallback = interfaceId(0x06, 0x20);
constexpr GUID IID_IInArchive = interfaceId(0x06, 0x60);

constexpr GUID CLSID_Format7z = formatClassId(0x07);
constexpr GUID CLSID_FormatZip = formatClassId(0x01);
constexpr GUID CLSID_FormatRar = formatClassId(0x03);

enum : VARTYPE {
    VT_EMPTY = 0,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UI4 = 19,
    VT_UI8 = 21,
    VT_FILETIME = 64,
};

enum : PROPID {
    kpidPath = 3,
    kpidIsDir = 6,
    kpidSize = 7,
    kpidAttrib = 9,
    kpidMTime = 12,
    kpidEncrypted = 15,
};

enum AskMode : Int32 { kExtract = 0, kTest = 1, kSkip = 2 };

enum OperationResult : Int32 {
    kOK = 0,
    kUnsupportedMethod = 1,
    kDataError = 2,
    kCRCError = 3,
    kUnavailable = 4,
    kUnexpectedEnd = 5,
    kDataAfterEnd = 6,
    kIsNotArc = 7,
    kHeadersError = 8,
    kWrongPassword = 9,
};

// Attribute bit that says the high half carries a POSIX st_mode.
constexpr UInt32 kUnixExtensionBit = 0x8000;
constexpr UInt32 kDosReadOnly = 0x1;

struct FILETIME
{
    std::uint32_t dwLowDateTime;
    std::uint32_t dwHighDateTime;
};

// FILETIME counts 100 ns ticks since 1601-01-01 UTC.
struct UnixTime
{
    std::int64_t seconds;
    std::int64_t nanoseconds;
};

inline UnixTime toUnixTime(const FILETIME &time)
{
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return UnixTime{static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL,
                    static_cast<std::int64_t>((ticks % 10000000ULL) * 100)};
}

struct PROPVARIANT
{
    VARTYPE vt = VT_EMPTY;
    std::uint16_t wReserved1 = 0;
    std::uint16_t wReserved2 = 0;
    std::uint16_t wReserved3 = 0;
    union {
        std::int16_t boolVal;
        std::uint32_t ulVal;
        std::uint64_t uhVal;
        FILETIME filetime;
        BSTR bstrVal;
    };
    PROPVARIANT()
        : uhVal(0)
    {}
};
static_assert(sizeof(PROPVARIANT) == 16, "PROPVARIANT must match the library's layout");
static_assert(sizeof(wchar_t) == 4 || sizeof(wchar_t) == 2, "unexpected wchar_t");

struct IUnknown
{
    virtual HRESULT QueryInterface(const GUID &iid, void **out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
};

struct IProgress : IUnknown
{
    virtual HRESULT SetTotal(UInt64 total) = 0;
    virtual HRESULT SetCompleted(const UInt64 *completed) = 0;
};

struct ISequentialInStream : IUnknown
{
    virtual HRESULT Read(void *data, UInt32 size, UInt32 *processed) = 0;
};

struct IInStream : ISequentialInStream
{
    virtual HRESULT Seek(Int64 offset, UInt32 origin, UInt64 *newPosition) = 0;
};

struct ISequentialOutStream : IUnknown
{
    virtual HRESULT Write(const void *data, UInt32 size, UInt32 *processed) = 0;
};

struct IOutStream : ISequentialOutStream
{
    virtual HRESULT Seek(Int64 offset, UInt32 origin, UInt64 *newPosition) = 0;
    virtual HRESULT SetSize(UInt64 newSize) = 0;
};

struct IStreamGetSize : IUnknown
{
    virtual HRESULT GetSize(UInt64 *size) = 0;
};

struct ICryptoGetTextPassword : IUnknown
{
    virtual HRESULT CryptoGetTextPassword(BSTR *password) = 0;
};

struct IArchiveOpenCallback : IUnknown
{
    virtual HRESULT SetTotal(const UInt64 *files, const UInt64 *bytes) = 0;
    virtual HRESULT SetCompleted(const UInt64 *files, const UInt64 *bytes) = 0;
};

struct IArchiveExtractCallback : IProgress
{
    virtual HRESULT GetStream(UInt32 index, ISequentialOutStream **outStream, Int32 askMode) = 0;
    virtual HRESULT PrepareOperation(Int32 askMode) = 0;
    virtual HRESULT SetOperationResult(Int32 result) = 0;
};

struct IInArchive : IUnknown
{
    virtual HRESULT Open(IInStream *stream, const UInt64 *maxCheckStartPosition,
                         IArchiveOpenCallback *callback) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT GetNumberOfItems(UInt32 *count) = 0;
    virtual HRESULT GetProperty(UInt32 index, PROPID propId, PROPVARIANT *value) = 0;
    virtual HRESULT Extract(const UInt32 *indices, UInt32 count, Int32 testMode,
                            IArchiveExtractCallback *callback) = 0;
    virtual HRESULT GetArchiveProperty(PROPID propId, PROPVARIANT *value) = 0;
    virtual HRESULT GetNumberOfProperties(UInt32 *count) = 0;
    virtual HRESULT GetPropertyInfo(UInt32 index, BSTR *name, PROPID *propId, VARTYPE *type) = 0;
    virtual HRESULT GetNumberOfArchiveProperties(UInt32 *count) = 0;
    virtual HRESULT GetArchivePropertyInfo(UInt32 index, BSTR *name, PROPID *propId,
                                           VARTYPE *type) = 0;
};

using CreateObjectFunc = HRESULT (*)(const GUID *classId, const GUID *interfaceId, void **object);
using GetModulePropFunc = HRESULT (*)(PROPID propId, PROPVARIANT *value);
using VariantClearFunc = HRESULT (*)(PROPVARIANT *value);
using SysFreeStringFunc = void (*)(BSTR text);

} // namespace SevenZip

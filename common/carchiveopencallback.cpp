#include "carchiveopencallback.h"

using namespace SevenZip;

HRESULT CArchiveOpenCallback::QueryInterface(const GUID &iid, void **out)
{
    if (!out)
        return E_INVALIDARG;
    if (iid == IID_IUnknown || iid == IID_IArchiveOpenCallback)
        *out = static_cast<IArchiveOpenCallback *>(this);
    else if (iid == IID_ICryptoGetTextPassword)
        *out = static_cast<ICryptoGetTextPassword *>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG CArchiveOpenCallback::AddRef()
{
    return ++m_refs;
}

ULONG CArchiveOpenCallback::Release()
{
    const ULONG left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

HRESULT CArchiveOpenCallback::SetTotal(const UInt64 *, const UInt64 *)
{
    return S_OK;
}

HRESULT CArchiveOpenCallback::SetCompleted(const UInt64 *, const UInt64 *)
{
    return S_OK;
}

HRESULT CArchiveOpenCallback::CryptoGetTextPassword(BSTR *password)
{
    m_passwordAsked = true;
    if (password)
        *password = nullptr;
    return E_ABORT;
}

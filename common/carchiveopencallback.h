#pragma once

#include <atomic>

#include "sevenzipabi.h"

// Answers the library while it opens a package. No password is ever known, so an archive
// with encrypted headers cannot be opened.
class CArchiveOpenCallback final : public SevenZip::IArchiveOpenCallback,
                                   public SevenZip::ICryptoGetTextPassword
{
public:
    SevenZip::HRESULT QueryInterface(const SevenZip::GUID &iid, void **out) override;
    SevenZip::ULONG AddRef() override;
    SevenZip::ULONG Release() override;

    SevenZip::HRESULT SetTotal(const SevenZip::UInt64 *files,
                               const SevenZip::UInt64 *bytes) override;
    SevenZip::HRESULT SetCompleted(const SevenZip::UInt64 *files,
                                   const SevenZip::UInt64 *bytes) override;
    SevenZip::HRESULT CryptoGetTextPassword(SevenZip::BSTR *password) override;

    bool passwordIsDefined() const { return m_passwordIsDefined; }
    // The library asked for a password: the archive's headers are encrypted.
    bool passwordAsked() const { return m_passwordAsked; }

private:
    std::atomic<SevenZip::ULONG> m_refs{0};
    std::atomic<bool> m_passwordAsked{false};
    bool m_passwordIsDefined = false;
};

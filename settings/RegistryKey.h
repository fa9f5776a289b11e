// CRegistryKey: one registry key, which reads, writes and deletes its values. A value: it closes its
// handle when it ends, and moves but is never copied. Every call gives Windows' answer, and a key
// without a handle answers with why it has none. Names and texts are UTF-8; the registry keeps them
// in UTF-16.
#pragma once

#include "HeapString.h"
#include "SystemStatus.h"
#include "ValueRead.h"

#include <windows.h>

class CRegistryKey
{
public:
    // The key as Windows opened it: with the handle, which it owns from now on, or with why not.
    CRegistryKey(CSystemStatus openStatus, HKEY hKey)
        : m_hKey(openStatus ? hKey : nullptr), m_openStatus(openStatus) {}
    // The key moved from is left closed.
    CRegistryKey(CRegistryKey&& other) noexcept { *this = static_cast<CRegistryKey&&>(other); }
    CRegistryKey& operator=(CRegistryKey&& other) noexcept;
    ~CRegistryKey() { static_cast<void>(Close()); }

    bool IsOpen() const { return m_hKey != nullptr; }
    CSystemStatus GetOpenStatus() const { return m_openStatus; }

    // The value as ValueRead.h tells, with Windows' words for a status that kept it from being read.
    // A key that is not there holds no values: they read as missing.
    void Read(const char* name, CValueRead& value) const;
    // A REG_SZ, or with regExpandSz a REG_EXPAND_SZ.
    [[nodiscard]] CSystemStatus WriteString(const char* name, const char* text, unsigned long type = regSz);
    // A REG_DWORD.
    [[nodiscard]] CSystemStatus WriteNumber(const char* name, unsigned long number);
    [[nodiscard]] CSystemStatus DeleteValue(const char* name);

    // Once closed, the key answers every call with ERROR_INVALID_HANDLE.
    [[nodiscard]] CSystemStatus Close();
    HKEY GetHandle() const { return m_hKey; }

private:
    // What a call on the handle answered, or why there is no handle: Windows refuses a null key
    // (ERROR_INVALID_HANDLE), so a call made without one changes nothing.
    CSystemStatus Answer(LONG status) const { return IsOpen() ? CSystemStatus(status) : m_openStatus; }

    HKEY m_hKey = nullptr;
    CSystemStatus m_openStatus{ERROR_INVALID_HANDLE};
};

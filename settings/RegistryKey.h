// CRegistryKey: one open registry key, which reads, writes and deletes its values. Names and texts
// are UTF-8; the registry keeps them in UTF-16.
#pragma once

#include "HeapString.h"

#include <windows.h>

class CRegistryKey
{
public:
    explicit CRegistryKey(HKEY hKey) : m_hKey(hKey) {}
    // The handle has one owner, which holds the key where OpenKey put it: neither copied nor moved.
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey();

    // True when the value exists, of any type.
    [[nodiscard]] bool HasValue(const char* name) const;
    // True only for an existing REG_SZ value that is whole UTF-16. Other types still land in
    // target, unexpanded: the string types as text, the others as their bytes up to the first zero
    // byte; their status is ERROR_UNSUPPORTED_TYPE, as RegGetValue gives it for a type it was not
    // asked for. A text with half of a surrogate pair reads as "", ERROR_NO_UNICODE_TRANSLATION.
    [[nodiscard]] bool ReadString(const char* name, CHeapString& target) const;
    // True only for an existing REG_DWORD value; another type is ERROR_UNSUPPORTED_TYPE.
    [[nodiscard]] bool ReadDword(const char* name, unsigned long& value) const;
    [[nodiscard]] bool WriteString(const char* name, const char* text);
    // False also when there was no such value.
    [[nodiscard]] bool DeleteValue(const char* name);

    // True when the handle was closed; the key then holds none. The destructor closes it anyway.
    [[nodiscard]] bool Close();
    HKEY GetHandle() const { return m_hKey; }

    // The Win32 status of the last call that failed; ERROR_SUCCESS while none has.
    LONG GetLastStatus() const { return m_lastStatus; }

private:
    // True for ERROR_SUCCESS; any other status is kept as the last one.
    bool Succeeded(LONG status) const;

    HKEY m_hKey;
    mutable LONG m_lastStatus = ERROR_SUCCESS;
};

// CRegistryKey: one registry key, which reads, writes and deletes its values. A value: it closes its
// handle when it ends, and moves but is never copied. Every call gives Windows' answer, and a key
// without a handle answers with why it has none. Names and texts are UTF-8; the registry keeps them
// in UTF-16.
#pragma once

#include "HeapString.h"
#include "SystemStatus.h"

#include <windows.h>

class CRegistryKey;

// One value's type and data, read at once. The data is wiped when it goes: it may be a password.
class CRegistryData
{
public:
    CRegistryData(const CRegistryKey& key, const char* name);
    CRegistryData(const CRegistryData&) = delete;
    CRegistryData& operator=(const CRegistryData&) = delete;
    ~CRegistryData();

    CSystemStatus GetStatus() const { return m_status; }
    DWORD GetType() const { return m_type; }
    DWORD GetSize() const { return m_size; }
    // Followed by zeros, which end a text that lacks its terminator, even one of an odd size.
    const BYTE* GetBytes() const { return m_data; }
    // The UTF-16 text of a string type, up to its first terminator; null for another type.
    const wchar_t* GetText() const;

private:
    CSystemStatus m_status;
    DWORD m_type = REG_NONE;
    BYTE* m_data = nullptr;
    DWORD m_capacity = 0;
    DWORD m_size = 0;
};

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

    // ERROR_FILE_NOT_FOUND when there is no such value; any type counts.
    [[nodiscard]] CSystemStatus HasValue(const char* name) const;
    // ERROR_SUCCESS only for a REG_SZ value that is whole UTF-16. Other types still land in target,
    // unexpanded: the string types as text, the others as their bytes up to the first zero byte,
    // with ERROR_UNSUPPORTED_TYPE, as RegGetValue gives it. A text with half of a surrogate pair
    // reads as "", ERROR_NO_UNICODE_TRANSLATION. A value that is not there, or could not be read,
    // leaves target alone.
    [[nodiscard]] CSystemStatus ReadString(const char* name, CHeapString& target) const;
    [[nodiscard]] CSystemStatus WriteString(const char* name, const char* text);
    [[nodiscard]] CSystemStatus DeleteValue(const char* name);

    // Once closed, the key answers every call with ERROR_INVALID_HANDLE.
    [[nodiscard]] CSystemStatus Close();
    HKEY GetHandle() const { return m_hKey; }

private:
    friend class CRegistryData;

    // What a call on the handle answered, or why there is no handle: Windows refuses a null key
    // (ERROR_INVALID_HANDLE), so a call made without one changes nothing.
    CSystemStatus Answer(LONG status) const { return IsOpen() ? CSystemStatus(status) : m_openStatus; }

    HKEY m_hKey = nullptr;
    CSystemStatus m_openStatus = ERROR_INVALID_HANDLE;
};

// CRegistryKey: one registry key, which reads, writes and deletes its values. A value: it closes
// its handle when it ends and moves, but is never copied. Every call gives Windows' answer; on a
// key that did not open, that is why it did not. Names and texts are UTF-8; the registry keeps
// them in UTF-16.
#pragma once

#include "HeapString.h"
#include "SystemStatus.h"

#include <windows.h>

class CRegistryKey
{
public:
    // A key that could not be opened, and why.
    explicit CRegistryKey(CSystemStatus openStatus) : m_openStatus(openStatus) {}
    // An open key, which owns the handle from now on.
    explicit CRegistryKey(HKEY hKey) : m_hKey(hKey) {}
    // The key that is moved from is left closed.
    CRegistryKey(CRegistryKey&& other) noexcept : m_hKey(other.m_hKey), m_openStatus(other.m_openStatus)
    {
        other.LeaveClosed();
    }
    CRegistryKey& operator=(CRegistryKey&& other) noexcept;
    ~CRegistryKey();

    bool IsOpen() const { return m_hKey != nullptr; }
    CSystemStatus GetOpenStatus() const { return m_openStatus; }

    // ERROR_SUCCESS when the value exists, of any type; ERROR_FILE_NOT_FOUND when it does not.
    [[nodiscard]] CSystemStatus HasValue(const char* name) const;
    // ERROR_SUCCESS only for a REG_SZ value that is whole UTF-16. Other types still land in target,
    // unexpanded: the string types as text, the others as their bytes up to the first zero byte;
    // they give ERROR_UNSUPPORTED_TYPE, as RegGetValue does for a type it was not asked for. A text
    // with half of a surrogate pair reads as "", ERROR_NO_UNICODE_TRANSLATION. A value that is not
    // there leaves target as it was.
    [[nodiscard]] CSystemStatus ReadString(const char* name, CHeapString& target) const;
    // ERROR_SUCCESS only for a REG_DWORD value; another type is ERROR_UNSUPPORTED_TYPE.
    [[nodiscard]] CSystemStatus ReadDword(const char* name, unsigned long& value) const;
    [[nodiscard]] CSystemStatus WriteString(const char* name, const char* text);
    // ERROR_FILE_NOT_FOUND when there was no such value.
    [[nodiscard]] CSystemStatus DeleteValue(const char* name);

    // Once closed, the key holds no handle, and each call gives ERROR_INVALID_HANDLE. The destructor
    // closes it anyway.
    [[nodiscard]] CSystemStatus Close();
    HKEY GetHandle() const { return m_hKey; }

private:
    // A call's status, or the reason there is no handle to make it with.
    template <typename Call>
    CSystemStatus WithHandle(Call call) const
    {
        return m_hKey != nullptr ? CSystemStatus(call(m_hKey)) : m_openStatus;
    }

    void LeaveClosed()
    {
        m_hKey = nullptr;
        m_openStatus = ERROR_INVALID_HANDLE;
    }

    HKEY m_hKey = nullptr;
    CSystemStatus m_openStatus;
};

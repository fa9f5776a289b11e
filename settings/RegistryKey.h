// CRegistryKey: one open registry key, which reads, writes and deletes its values. Names and texts
// are UTF-8; the registry keeps them in UTF-16.
#pragma once

#include "HeapString.h"

#include <windows.h>

#include <cstddef>

class CRegistryKey
{
public:
    explicit CRegistryKey(HKEY hKey);
    // The handle has one owner, which holds the key where OpenKey put it: neither copied nor moved.
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    ~CRegistryKey();

    // Allocation failure yields null from new instead of throwing, so OpenKey can report it.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* p) noexcept;

    // True when the value exists, of any type.
    bool HasValue(const char* name) const;
    // True only for an existing REG_SZ value that is whole UTF-16. Other types still land in
    // target, unexpanded: the string types as text, the others as their bytes up to the first zero
    // byte. A text with half of a surrogate pair reads as "".
    bool ReadString(const char* name, CHeapString& target) const;
    // True only for an existing REG_DWORD value.
    bool ReadDword(const char* name, unsigned long& value) const;
    bool WriteString(const char* name, const char* text);
    // False also when there was no such value.
    bool DeleteValue(const char* name);

    // True when the handle was closed; the key then holds none. The destructor closes it anyway.
    bool Close();
    HKEY GetHandle() const { return m_hKey; }

private:
    HKEY m_hKey;
};

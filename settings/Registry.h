// The registry layer: CRegistry opens existing keys by root index and path; CRegistryKey owns one
// open key and reads, writes and deletes its values.
#pragma once

#include "HeapString.h"

#include <windows.h>

#include <cstddef>
#include <memory>

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

    // True when the value exists, of any type; size is then its data size plus one.
    bool QueryValueSize(const char* name, DWORD& size) const;
    // True only for an existing REG_SZ value; other types still land in target, unexpanded.
    bool ReadString(const char* name, CHeapString& target) const;
    // False when the value is a string that the active code page cannot hold, so that ReadString
    // gives look-alikes or "?" in place of some of its characters. Never false under UTF-8.
    bool ReadsExactly(const char* name) const;
    bool WriteString(const char* name, const char* text);
    // False also when there was no such value.
    bool DeleteValue(const char* name);

    HKEY GetHandle() const { return m_hKey; }

private:
    friend class CRegistry;

    HKEY m_hKey;
};

class CRegistry
{
public:
    // Root indexes: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS.
    static const int rootLocalMachine = 2;

    static CRegistry& Instance();

    // Null when the key does not exist or cannot be opened; a missing key is never created.
    std::unique_ptr<CRegistryKey> OpenKey(int rootIndex, const char* path);
    bool CloseKey(CRegistryKey& key);
};

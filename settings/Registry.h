// CRegistry: opens existing keys by root index and path, in the view that Winlogon reads.
#pragma once

#include "RegistryKey.h"

#include <memory>

class CRegistry
{
public:
    // Root indexes: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS.
    static const int rootLocalMachine = 2;

    static CRegistry& Instance();

    // Null when the key does not exist or cannot be opened; a missing key is never created.
    [[nodiscard]] std::unique_ptr<CRegistryKey> OpenKey(int rootIndex, const char* path);
};

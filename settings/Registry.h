// CRegistry: opens keys by root index and path, in the view that Winlogon reads.
#pragma once

#include "RegistryKey.h"

class CRegistry
{
public:
    // Root indexes: 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE, 3 HKEY_USERS.
    static const int rootLocalMachine = 2;

    static CRegistry& Instance();

    // The existing key, with whatever access the caller is allowed, so that a caller without write
    // rights still reads it; a missing key is never made here (ERROR_FILE_NOT_FOUND).
    [[nodiscard]] CRegistryKey OpenKey(int rootIndex, const char* path);
    // The key, made when it is missing. Kept apart from OpenKey, with the writes, so that a program
    // that only reads imports nothing that changes the registry.
    [[nodiscard]] CRegistryKey CreateKey(int rootIndex, const char* path);

private:
    // Null, which Windows refuses, for an index outside the table.
    static HKEY RootOf(int rootIndex);
    // The access that reaches the 64-bit view also from a 32-bit process on 64-bit Windows.
    static REGSAM Access();
};

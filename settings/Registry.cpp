#include "Registry.h"

#include "WideText.h"

#include <iterator>
#include <new>

namespace {

HKEY RootOf(int rootIndex)
{
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    return rootIndex >= 0 && rootIndex < static_cast<int>(std::size(roots)) ? roots[rootIndex]
                                                                             : nullptr;
}

// A 32-bit process on 64-bit Windows sees HKLM\Software redirected to Wow6432Node, where Winlogon
// never looks. IsWow64Process is looked up because the oldest systems lack it.
bool RunsUnderWow64()
{
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel == nullptr)
        return false;
    const auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFunction>(
            reinterpret_cast<void (*)()>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process != nullptr && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool OpenHandle(HKEY root, const char* path, HKEY& handle)
{
    // MAXIMUM_ALLOWED, so that a caller without write rights still opens the key and reads it.
    const REGSAM view = RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
    return RegOpenKeyExW(root, CWideText(path), 0, MAXIMUM_ALLOWED | view, &handle) == ERROR_SUCCESS;
}

} // namespace

CRegistry& CRegistry::Instance()
{
    // Stateless and trivially constructed: no guard and no destructor run are involved.
    static CRegistry instance;
    return instance;
}

std::unique_ptr<CRegistryKey> CRegistry::OpenKey(int rootIndex, const char* path)
{
    const HKEY root = RootOf(rootIndex);
    HKEY handle = nullptr;
    if (root == nullptr || path == nullptr || !OpenHandle(root, path, handle))
        return nullptr;
    std::unique_ptr<CRegistryKey> key(new (std::nothrow) CRegistryKey(handle));
    if (!key)
        RegCloseKey(handle);
    return key;
}

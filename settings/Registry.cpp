#include "Registry.h"

#include "WideText.h"

#include <iterator>

namespace {

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

} // namespace

CRegistry& CRegistry::Instance()
{
    // Stateless and trivially constructed: no guard and no destructor run are involved.
    static CRegistry instance;
    return instance;
}

HKEY CRegistry::RootOf(int rootIndex)
{
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    return rootIndex >= 0 && rootIndex < static_cast<int>(std::size(roots)) ? roots[rootIndex] : nullptr;
}

REGSAM CRegistry::Access()
{
    return MAXIMUM_ALLOWED | (RunsUnderWow64() ? KEY_WOW64_64KEY : 0);
}

CRegistryKey CRegistry::OpenKey(int rootIndex, const char* path)
{
    HKEY handle = nullptr;
    const LONG status = RegOpenKeyExW(RootOf(rootIndex), CWideText(path), 0, Access(), &handle);
    return CRegistryKey(CSystemStatus(status), handle);
}

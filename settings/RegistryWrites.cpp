// Everything that changes the registry, in a file of its own: a program that only reads links none
// of it, and so imports no function that changes the registry.
#include "Registry.h"

#include "WideText.h"

CRegistryKey CRegistry::CreateKey(int rootIndex, const char* path)
{
    HKEY handle = nullptr;
    const LONG status =
        RegCreateKeyExW(RootOf(rootIndex), CWideText(path), 0, nullptr, 0, Access(), nullptr, &handle, nullptr);
    return CRegistryKey(CSystemStatus(status), handle);
}

CSystemStatus CRegistryKey::WriteString(const char* name, const char* text, unsigned long type)
{
    const CWideText wideText(text);
    const DWORD size = static_cast<DWORD>((wideText.GetLength() + 1) * sizeof(wchar_t));
    return Answer(RegSetValueExW(m_hKey, CWideText(name), 0, type, reinterpret_cast<const BYTE*>(wideText.GetText()),
                                 size));
}

CSystemStatus CRegistryKey::WriteNumber(const char* name, unsigned long number)
{
    const DWORD data = number;
    return Answer(RegSetValueExW(m_hKey, CWideText(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data));
}

CSystemStatus CRegistryKey::DeleteValue(const char* name)
{
    return Answer(RegDeleteValueW(m_hKey, CWideText(name)));
}

// The key's writes, in a file of their own: a program that only reads links none of them, and so
// imports no function that changes the registry.
#include "RegistryKey.h"

#include "WideText.h"

bool CRegistryKey::WriteString(const char* name, const char* text)
{
    const CWideText wideText(text);
    const DWORD size = static_cast<DWORD>((wideText.GetLength() + 1) * sizeof(wchar_t));
    return Succeeded(RegSetValueExW(m_hKey, CWideText(name), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(wideText.GetText()), size));
}

bool CRegistryKey::DeleteValue(const char* name)
{
    return Succeeded(RegDeleteValueW(m_hKey, CWideText(name)));
}

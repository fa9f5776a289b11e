#include "Registry.h"

#include <cstdlib>
#include <cstring>
#include <new>

CRegistryKey::CRegistryKey(HKEY hKey) : m_hKey(hKey) {}

CRegistryKey::~CRegistryKey()
{
    if (m_hKey != nullptr)
        CRegistry::Instance().CloseKey(*this);
}

void* CRegistryKey::operator new(std::size_t size) noexcept
{
    return std::malloc(size);
}

void CRegistryKey::operator delete(void* p) noexcept
{
    std::free(p);
}

bool CRegistryKey::QueryValueSize(const char* name, DWORD& size) const
{
    DWORD type = 0;
    DWORD dataSize = 0;
    if (RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &dataSize) != ERROR_SUCCESS)
        return false;
    size = dataSize + 1;
    return true;
}

bool CRegistryKey::ReadString(const char* name, CHeapString& target) const
{
    DWORD size = 0;
    if (!QueryValueSize(name, size))
        return false;

    // The buffer has one byte more than the registry is told about, so the terminator at its end
    // survives data that lacks one, or a value that grew since its size was asked.
    char* buffer = target.Reserve(size);
    DWORD type = 0;
    DWORD length = size;
    const LONG result =
        RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length);
    if (result != ERROR_SUCCESS) {
        buffer[0] = '\0';
        return false;
    }
    if (length < size)
        buffer[length] = '\0';
    return type == REG_SZ;
}

bool CRegistryKey::WriteString(const char* name, const char* text)
{
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
}

bool CRegistryKey::DeleteValue(const char* name)
{
    return RegDeleteValueA(m_hKey, name) == ERROR_SUCCESS;
}

#include "RegistryKey.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <cstdlib>

namespace {

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

CRegistryKey::CRegistryKey(HKEY hKey) : m_hKey(hKey) {}

CRegistryKey::~CRegistryKey()
{
    Close();
}

void* CRegistryKey::operator new(std::size_t size) noexcept
{
    return std::malloc(size);
}

void CRegistryKey::operator delete(void* p) noexcept
{
    std::free(p);
}

bool CRegistryKey::Close()
{
    if (m_hKey == nullptr || RegCloseKey(m_hKey) != ERROR_SUCCESS)
        return false;
    m_hKey = nullptr;
    return true;
}

bool CRegistryKey::HasValue(const char* name) const
{
    return RegQueryValueExW(m_hKey, CWideText(name), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool CRegistryKey::ReadString(const char* name, CHeapString& target) const
{
    const CWideText wideName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(m_hKey, wideName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;

    // Room beyond what the registry is told about, for a byte left over from an odd size and a
    // terminator after data that lacks one. A value that grew since its size was asked fails.
    wchar_t* buffer =
        static_cast<wchar_t*>(AllocateOrStop(size / sizeof(wchar_t) + 2, sizeof(wchar_t)));
    DWORD length = size;
    const bool read = RegQueryValueExW(m_hKey, wideName, nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer), &length) == ERROR_SUCCESS;
    bool converted = true;
    if (!read) {
        target.Assign("");
    } else if (IsStringType(type)) {
        buffer[length / sizeof(wchar_t)] = L'\0';
        converted = ToUtf8(buffer, target);
    } else {
        char* bytes = reinterpret_cast<char*>(buffer);
        bytes[length] = '\0';
        target.Assign(bytes);
    }
    std::free(buffer);
    return read && converted && type == REG_SZ;
}

bool CRegistryKey::ReadDword(const char* name, unsigned long& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExW(m_hKey, CWideText(name), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = data;
    return true;
}

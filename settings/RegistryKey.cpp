#include "RegistryKey.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <cstdlib>

CRegistryKey& CRegistryKey::operator=(CRegistryKey&& other) noexcept
{
    if (this != &other) {
        static_cast<void>(Close());
        m_hKey = other.m_hKey;
        m_openStatus = other.m_openStatus;
        other.m_hKey = nullptr;
        other.m_openStatus = ERROR_INVALID_HANDLE;
    }
    return *this;
}

CSystemStatus CRegistryKey::Close()
{
    const CSystemStatus status = Answer(RegCloseKey(m_hKey));
    if (status) {
        m_hKey = nullptr;
        m_openStatus = ERROR_INVALID_HANDLE;
    }
    return status;
}

CSystemStatus CRegistryKey::HasValue(const char* name) const
{
    return Answer(RegQueryValueExW(m_hKey, CWideText(name), nullptr, nullptr, nullptr, nullptr));
}

CSystemStatus CRegistryKey::ReadString(const char* name, CHeapString& target) const
{
    const CWideText wideName(name);
    DWORD type = 0;
    DWORD size = 0;
    const CSystemStatus found = Answer(RegQueryValueExW(m_hKey, wideName, nullptr, &type, nullptr, &size));
    if (!found)
        return found;

    // Room beyond what the registry is told about, for a byte left over from an odd size and a
    // terminator after data that lacks one. A value that grew since its size was asked fails.
    wchar_t* buffer = static_cast<wchar_t*>(AllocateOrStop(size / sizeof(wchar_t) + 2, sizeof(wchar_t)));
    DWORD length = size;
    LONG status = RegQueryValueExW(m_hKey, wideName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &length);
    if (status != ERROR_SUCCESS) {
        target.Assign("");
    } else if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        buffer[length / sizeof(wchar_t)] = L'\0';
        if (!ToUtf8(buffer, target))
            status = ERROR_NO_UNICODE_TRANSLATION;
        else if (type != REG_SZ)
            status = ERROR_UNSUPPORTED_TYPE;
    } else {
        char* bytes = reinterpret_cast<char*>(buffer);
        bytes[length] = '\0';
        target.Assign(bytes);
        status = ERROR_UNSUPPORTED_TYPE;
    }
    std::free(buffer);
    return status;
}

CSystemStatus CRegistryKey::ReadDword(const char* name, unsigned long& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    const CSystemStatus status =
        Answer(RegQueryValueExW(m_hKey, CWideText(name), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size));
    if (status && (type != REG_DWORD || size != sizeof data))
        return ERROR_UNSUPPORTED_TYPE;
    if (status)
        value = data;
    return status;
}

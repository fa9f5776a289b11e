#include "RegistryKey.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <cstdlib>

CRegistryKey::~CRegistryKey()
{
    // Nothing is left to tell a failure to.
    static_cast<void>(Close());
}

bool CRegistryKey::Succeeded(LONG status) const
{
    if (status != ERROR_SUCCESS)
        m_lastStatus = status;
    return status == ERROR_SUCCESS;
}

bool CRegistryKey::Close()
{
    if (!Succeeded(m_hKey != nullptr ? RegCloseKey(m_hKey) : ERROR_INVALID_HANDLE))
        return false;
    m_hKey = nullptr;
    return true;
}

bool CRegistryKey::HasValue(const char* name) const
{
    return Succeeded(RegQueryValueExW(m_hKey, CWideText(name), nullptr, nullptr, nullptr, nullptr));
}

bool CRegistryKey::ReadString(const char* name, CHeapString& target) const
{
    const CWideText wideName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (!Succeeded(RegQueryValueExW(m_hKey, wideName, nullptr, &type, nullptr, &size)))
        return false;

    // Room beyond what the registry is told about, for a byte left over from an odd size and a
    // terminator after data that lacks one. A value that grew since its size was asked fails.
    wchar_t* buffer =
        static_cast<wchar_t*>(AllocateOrStop(size / sizeof(wchar_t) + 2, sizeof(wchar_t)));
    DWORD length = size;
    LONG status = RegQueryValueExW(m_hKey, wideName, nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &length);
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
    return Succeeded(status);
}

bool CRegistryKey::ReadDword(const char* name, unsigned long& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (!Succeeded(RegQueryValueExW(m_hKey, CWideText(name), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                                    &size)))
        return false;
    if (!Succeeded(type == REG_DWORD && size == sizeof data ? ERROR_SUCCESS : ERROR_UNSUPPORTED_TYPE))
        return false;
    value = data;
    return true;
}

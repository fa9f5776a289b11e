#include "RegistryKey.h"

#include "AnsiText.h"
#include "OutOfMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

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
    return RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool CRegistryKey::ReadString(const char* name, CHeapString& target) const
{
    DWORD size = 0;
    if (RegQueryValueExA(m_hKey, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    ++size;

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

bool CRegistryKey::ReadsExactly(const char* name) const
{
    if (IsUtf8CodePage())
        return true;
    const int nameSize = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    wchar_t* wideName =
        static_cast<wchar_t*>(AllocateOrStop(static_cast<size_t>(nameSize), sizeof(wchar_t)));
    MultiByteToWideChar(CP_ACP, 0, name, -1, wideName, nameSize);
    bool exact = true;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(m_hKey, wideName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
        // One character more than the data, so that data without a terminator ends all the same.
        // Like ReadString, only the text up to the first terminator counts.
        wchar_t* data =
            static_cast<wchar_t*>(AllocateOrStop(size / sizeof(wchar_t) + 1, sizeof(wchar_t)));
        DWORD length = size;
        if (RegQueryValueExW(m_hKey, wideName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                             &length) == ERROR_SUCCESS) {
            data[length / sizeof(wchar_t)] = L'\0';
            CHeapString converted;
            exact = ToActiveCodePage(data, converted);
        }
        std::free(data);
    }
    std::free(wideName);
    return exact;
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

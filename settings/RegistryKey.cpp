#include "RegistryKey.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <cstdlib>
#include <cstring>

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
    const CRegistryData data(*this, name);
    if (!data.GetStatus())
        return data.GetStatus();
    if (data.GetText() == nullptr) {
        target.Assign(reinterpret_cast<const char*>(data.GetBytes()));
        return ERROR_UNSUPPORTED_TYPE;
    }
    if (!ToUtf8(data.GetText(), target))
        return ERROR_NO_UNICODE_TRANSLATION;
    return data.GetType() == REG_SZ ? ERROR_SUCCESS : ERROR_UNSUPPORTED_TYPE;
}

CRegistryData::CRegistryData(const CRegistryKey& key, const char* name)
{
    const CWideText wideName(name);
    DWORD size = 0;
    m_status = key.Answer(RegQueryValueExW(key.m_hKey, wideName, nullptr, &m_type, nullptr, &size));
    if (!m_status)
        return;
    // Room beyond what the registry is told about, for zeros after the data. A value that grew
    // since its size was asked is not read.
    m_capacity = size + 2 * sizeof(wchar_t);
    m_data = static_cast<BYTE*>(AllocateOrStop(m_capacity, 1));
    std::memset(m_data, 0, m_capacity);
    m_size = size;
    m_status = RegQueryValueExW(key.m_hKey, wideName, nullptr, &m_type, m_data, &m_size);
    // A text ends at its last whole character: a byte left over from an odd size is none.
    if (GetText() != nullptr && m_size % sizeof(wchar_t) != 0)
        m_data[m_size - 1] = 0;
}

CRegistryData::~CRegistryData()
{
    if (m_data != nullptr)
        SecureZeroMemory(m_data, m_capacity);
    std::free(m_data);
}

const wchar_t* CRegistryData::GetText() const
{
    const bool text = m_status && (m_type == REG_SZ || m_type == REG_EXPAND_SZ || m_type == REG_MULTI_SZ);
    return text ? reinterpret_cast<const wchar_t*>(m_data) : nullptr;
}

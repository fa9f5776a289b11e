#include "RegistryKey.h"

#include "WideText.h"

CRegistryKey& CRegistryKey::operator=(CRegistryKey&& other) noexcept
{
    if (this != &other) {
        static_cast<void>(Close());
        m_hKey = other.m_hKey;
        m_openStatus = other.m_openStatus;
        other.m_hKey = nullptr;
        other.m_openStatus = CSystemStatus(ERROR_INVALID_HANDLE);
    }
    return *this;
}

CSystemStatus CRegistryKey::Close()
{
    const CSystemStatus status = Answer(RegCloseKey(m_hKey));
    if (status) {
        m_hKey = nullptr;
        m_openStatus = CSystemStatus(ERROR_INVALID_HANDLE);
    }
    return status;
}

void CRegistryKey::Read(const char* name, CValueRead& value) const
{
    struct CQuery
    {
        const CRegistryKey& key;
        CWideText name;
    };
    const CQuery query = {*this, CWideText(name)};
    ReadValue(
        [](const void* context, unsigned long* type, unsigned char* data, unsigned long* size) {
            const CQuery& q = *static_cast<const CQuery*>(context);
            return q.key.Answer(RegQueryValueExW(q.key.m_hKey, q.name, nullptr, type, data, size)).GetCode();
        },
        &query, value);
    if (value.state == CValueRead::unreadable && value.status != statusNotWholeUtf16)
        CSystemStatus(value.status).AppendText(value.reason);
}

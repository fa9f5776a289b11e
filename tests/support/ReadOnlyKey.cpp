#include "ReadOnlyKey.h"

#include <sddl.h>

CReadOnlyKey::CReadOnlyKey(const char* path, REGSAM view, const char* dacl)
{
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL | WRITE_DAC | view, &m_handle) !=
        ERROR_SUCCESS) {
        m_handle = nullptr;
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(m_handle, DACL_SECURITY_INFORMATION, nullptr, &size);
    m_original.resize(size);
    if (size == 0 || RegGetKeySecurity(m_handle, DACL_SECURITY_INFORMATION, m_original.data(),
                                       &size) != ERROR_SUCCESS)
        return;

    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(dacl, SDDL_REVISION_1,
                                                              &readOnly, nullptr))
        return;
    m_applied =
        RegSetKeySecurity(m_handle, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS;
    LocalFree(readOnly);
}

CReadOnlyKey::~CReadOnlyKey()
{
    if (m_applied)
        RegSetKeySecurity(m_handle, DACL_SECURITY_INFORMATION, m_original.data());
    if (m_handle)
        RegCloseKey(m_handle);
}

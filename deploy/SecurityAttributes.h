// CSecurityAttributes: what an object is made with, from its security descriptor in SDDL, freed when
// it goes.
#pragma once

#include <windows.h>

#include <sddl.h>

class CSecurityAttributes
{
public:
    // When the text cannot be made a descriptor, GetLastError tells why, and Get() gives attributes
    // without one: the default security.
    explicit CSecurityAttributes(const wchar_t* sddl)
    {
        m_made = ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                      &m_attributes.lpSecurityDescriptor, nullptr);
    }
    CSecurityAttributes(const CSecurityAttributes&) = delete;
    CSecurityAttributes& operator=(const CSecurityAttributes&) = delete;
    ~CSecurityAttributes()
    {
        // Kept as the call that went before left it.
        const DWORD error = GetLastError();
        LocalFree(m_attributes.lpSecurityDescriptor);
        SetLastError(error);
    }

    bool IsMade() const { return m_made; }
    SECURITY_ATTRIBUTES* Get() { return &m_attributes; }

private:
    SECURITY_ATTRIBUTES m_attributes = {sizeof m_attributes, nullptr, FALSE};
    bool m_made;
};

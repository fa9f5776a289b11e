#include "LocalSecurity.h"

#include "SystemStatus.h"

#include <windows.h>

#include <ntsecapi.h>

namespace {

// One open handle to this computer's Policy object, closed by its destructor.
class CLsaPolicy
{
public:
    explicit CLsaPolicy(ACCESS_MASK access) : m_handle(nullptr)
    {
        LSA_OBJECT_ATTRIBUTES attributes = {};
        m_status = LsaOpenPolicy(nullptr, &attributes, access, &m_handle);
    }
    CLsaPolicy(const CLsaPolicy&) = delete;
    CLsaPolicy& operator=(const CLsaPolicy&) = delete;
    ~CLsaPolicy()
    {
        if (m_handle != nullptr)
            LsaClose(m_handle);
    }

    bool IsOpen() const { return m_status == 0; }
    LSA_HANDLE GetHandle() const { return m_handle; }
    NTSTATUS GetStatus() const { return m_status; }

private:
    LSA_HANDLE m_handle;
    NTSTATUS m_status;
};

CLookup Failed(NTSTATUS status)
{
    CLookup lookup;
    CSystemStatus(LsaNtStatusToWinError(status)).AppendText(lookup.detail);
    return lookup;
}

} // namespace

CLookup FindDomainMembership()
{
    const CLsaPolicy policy(POLICY_VIEW_LOCAL_INFORMATION);
    if (!policy.IsOpen())
        return Failed(policy.GetStatus());
    POLICY_PRIMARY_DOMAIN_INFO* domain = nullptr;
    const NTSTATUS status = LsaQueryInformationPolicy(
        policy.GetHandle(), PolicyPrimaryDomainInformation, reinterpret_cast<void**>(&domain));
    if (status != 0)
        return Failed(status);
    // A computer in no domain has a primary domain without a SID: the name of its workgroup.
    CLookup lookup;
    lookup.answer = domain->Sid != nullptr ? CLookup::yes : CLookup::no;
    LsaFreeMemory(domain);
    return lookup;
}

CLookup FindPasswordSecret()
{
    const CLsaPolicy policy(POLICY_GET_PRIVATE_INFORMATION);
    if (!policy.IsOpen())
        return Failed(policy.GetStatus());
    wchar_t name[] = L"DefaultPassword";
    LSA_UNICODE_STRING key = {static_cast<USHORT>(sizeof name - sizeof name[0]),
                              static_cast<USHORT>(sizeof name), name};
    LSA_UNICODE_STRING* secret = nullptr;
    const NTSTATUS status = LsaRetrievePrivateData(policy.GetHandle(), &key, &secret);
    CLookup lookup;
    if (status == 0) {
        if (secret->Buffer != nullptr)
            SecureZeroMemory(secret->Buffer, secret->Length);
        LsaFreeMemory(secret);
        lookup.answer = CLookup::yes;
    } else if (LsaNtStatusToWinError(status) == ERROR_FILE_NOT_FOUND) {
        lookup.answer = CLookup::no;
    } else {
        lookup = Failed(status);
    }
    return lookup;
}

#include "LocalSecurity.h"

#include "SystemStatus.h"
#include "WideText.h"

#include <windows.h>

#include <ntsecapi.h>

#include <cstring>

namespace {

// One open handle to this computer's Policy object, closed by its destructor.
class CLsaPolicy
{
public:
    explicit CLsaPolicy(ACCESS_MASK access)
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

    // Queries an information class; the caller frees what it gives with LsaFreeMemory.
    NTSTATUS Query(POLICY_INFORMATION_CLASS what, void** information) const
    {
        return m_status != 0 ? m_status : LsaQueryInformationPolicy(m_handle, what, information);
    }
    LSA_HANDLE GetHandle() const { return m_handle; }
    NTSTATUS GetStatus() const { return m_status; }

private:
    LSA_HANDLE m_handle = nullptr;
    NTSTATUS m_status;
};

void AppendReason(NTSTATUS status, CHeapString& reason)
{
    CSystemStatus(LsaNtStatusToWinError(status)).AppendText(reason);
}

void TakeName(const LSA_UNICODE_STRING& name, CHeapString& target)
{
    ToCodePage(CP_UTF8, 0, name.Buffer != nullptr ? name.Buffer : L"", target, name.Length / sizeof(wchar_t));
}

// Without its trailing terminators, which a secret may or may not have been stored with.
size_t TextLength(const wchar_t* text, size_t length)
{
    while (length > 0 && text[length - 1] == L'\0')
        --length;
    return length;
}

} // namespace

void ReadComputer(CComputer& computer)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &length))
        ToCodePage(CP_UTF8, 0, name, computer.name, static_cast<int>(length));

    const CLsaPolicy policy(POLICY_VIEW_LOCAL_INFORMATION);
    // A computer in no domain has a primary domain without a SID: the name of its workgroup.
    POLICY_PRIMARY_DOMAIN_INFO* primary = nullptr;
    NTSTATUS status = policy.Query(PolicyPrimaryDomainInformation, reinterpret_cast<void**>(&primary));
    if (status != 0) {
        computer.membership = CComputer::unknown;
        AppendReason(status, computer.reason);
        return;
    }
    computer.membership = primary->Sid != nullptr ? CComputer::member : CComputer::workgroup;
    if (primary->Sid != nullptr)
        TakeName(primary->Name, computer.domainName);
    LsaFreeMemory(primary);
    POLICY_DNS_DOMAIN_INFO* dns = nullptr;
    if (computer.membership == CComputer::member &&
        policy.Query(PolicyDnsDomainInformation, reinterpret_cast<void**>(&dns)) == 0) {
        TakeName(dns->DnsDomainName, computer.domainDnsName);
        LsaFreeMemory(dns);
    }
}

void ComparePasswordSecret(const wchar_t* registryPassword, size_t length, CPasswordSecret& secret)
{
    const CLsaPolicy policy(POLICY_GET_PRIVATE_INFORMATION);
    wchar_t name[] = L"DefaultPassword";
    LSA_UNICODE_STRING key = {static_cast<USHORT>(sizeof name - sizeof name[0]), static_cast<USHORT>(sizeof name),
                              name};
    LSA_UNICODE_STRING* stored = nullptr;
    const NTSTATUS status =
        policy.GetStatus() != 0 ? policy.GetStatus() : LsaRetrievePrivateData(policy.GetHandle(), &key, &stored);
    if (status != 0) {
        const bool none = LsaNtStatusToWinError(status) == ERROR_FILE_NOT_FOUND;
        secret.answer = none ? CPasswordSecret::none : CPasswordSecret::unknown;
        if (!none)
            AppendReason(status, secret.reason);
        return;
    }
    const wchar_t* text = stored->Buffer != nullptr ? stored->Buffer : L"";
    const size_t storedLength = TextLength(text, stored->Length / sizeof(wchar_t));
    if (registryPassword == nullptr)
        secret.answer = CPasswordSecret::there;
    else if (storedLength == TextLength(registryPassword, length) &&
             std::memcmp(text, registryPassword, storedLength * sizeof(wchar_t)) == 0)
        secret.answer = CPasswordSecret::same;
    else
        secret.answer = CPasswordSecret::differs;
    if (stored->Buffer != nullptr)
        SecureZeroMemory(stored->Buffer, stored->Length);
    LsaFreeMemory(stored);
}

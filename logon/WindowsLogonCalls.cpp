// The logon reader's calls into Windows, each in plain terms (LogonCalls.h).
#include "LogonCalls.h"

#include "OutOfMemory.h"
#include "Registry.h"
#include "SystemStatus.h"
#include "WideText.h"

#include <windows.h>

#include <dsgetdc.h>
#include <lm.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// How long a domain controller has to answer: DsGetDcName alone may take a minute without a network.
const DWORD domainControllerWaitMs = 5000;

unsigned long long Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    // From 100 ns ticks since 1601 to seconds since 1970.
    return (static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000000 - 11644473600ULL;
}

unsigned long ReadValue(const char* path, const char* name, CValueRead& value)
{
    const CRegistryKey key = CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, path);
    key.Read(name, value);
    return key.GetOpenStatus().GetCode();
}

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

    LSA_HANDLE GetHandle() const { return m_handle; }
    // A Windows error, from the NTSTATUS the last call gave.
    unsigned long Answer(NTSTATUS status) const { return LsaNtStatusToWinError(m_status != 0 ? m_status : status); }

private:
    LSA_HANDLE m_handle = nullptr;
    NTSTATUS m_status;
};

void TakeName(const LSA_UNICODE_STRING& name, CHeapString& target)
{
    ToCodePage(CP_UTF8, 0, name.Buffer != nullptr ? name.Buffer : L"", target, name.Length / sizeof(wchar_t));
}

void ReadComputer(CComputer& computer)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (GetComputerNameW(name, &length))
        ToCodePage(CP_UTF8, 0, name, computer.name, static_cast<int>(length));
    wchar_t dnsName[256];
    length = sizeof dnsName / sizeof dnsName[0];
    if (GetComputerNameExW(ComputerNameDnsFullyQualified, dnsName, &length))
        ToCodePage(CP_UTF8, 0, dnsName, computer.dnsName, static_cast<int>(length));

    const CLsaPolicy policy(POLICY_VIEW_LOCAL_INFORMATION);
    // A computer in no domain has a primary domain without a SID: the name of its workgroup.
    POLICY_PRIMARY_DOMAIN_INFO* primary = nullptr;
    const unsigned long status = policy.Answer(
        LsaQueryInformationPolicy(policy.GetHandle(), PolicyPrimaryDomainInformation, reinterpret_cast<void**>(&primary)));
    if (status != ERROR_SUCCESS) {
        computer.membership = CComputer::unknown;
        CSystemStatus(status).AppendText(computer.reason);
        return;
    }
    computer.membership = primary->Sid != nullptr ? CComputer::member : CComputer::workgroup;
    if (primary->Sid != nullptr)
        TakeName(primary->Name, computer.domainName);
    LsaFreeMemory(primary);
    POLICY_DNS_DOMAIN_INFO* dns = nullptr;
    if (computer.membership == CComputer::member &&
        LsaQueryInformationPolicy(policy.GetHandle(), PolicyDnsDomainInformation, reinterpret_cast<void**>(&dns)) == 0) {
        TakeName(dns->DnsDomainName, computer.domainDnsName);
        LsaFreeMemory(dns);
    }
}

unsigned long LookUpAccount(const char* name, CAccountLookup& found)
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainLength = sizeof domain / sizeof domain[0];
    SID_NAME_USE use;
    if (!LookupAccountNameW(nullptr, CWideText(name), sid, &sidSize, domain, &domainLength, &use))
        return GetLastError();
    ToCodePage(CP_UTF8, 0, domain, found.foundIn);
    found.kind = use;
    // The account's own name, which a user@domain name is not.
    wchar_t account[257];
    DWORD accountLength = sizeof account / sizeof account[0];
    domainLength = sizeof domain / sizeof domain[0];
    if (LookupAccountSidW(nullptr, sid, account, &accountLength, domain, &domainLength, &use))
        ToCodePage(CP_UTF8, 0, account, found.accountName);
    wchar_t* text = nullptr;
    if (ConvertSidToStringSidW(sid, &text))
        ToCodePage(CP_UTF8, 0, text, found.sid);
    LocalFree(text);
    return ERROR_SUCCESS;
}

// A call that may wait for a server, made in a thread of its own, which the program does not wait
// for longer than a domain controller may take: it then ends with the program. So the call holds
// copies of what it asks, and is not freed while the thread may still use it.
struct CServerCall
{
    DWORD (*call)(CServerCall& query);
    CHeapString server;
    CHeapString name;
    unsigned level = 0;
    CUserInfo info;
    CHeapString controller;
    DWORD status = ERROR_SUCCESS;
};

DWORD WINAPI RunServerCall(void* context)
{
    CServerCall& query = *static_cast<CServerCall*>(context);
    query.status = query.call(query);
    return 0;
}

DWORD WithinWait(CServerCall& query)
{
    auto* running = new (AllocateOrStop(1, sizeof(CServerCall))) CServerCall(query);
    const HANDLE thread = CreateThread(nullptr, 0, RunServerCall, running, 0, nullptr);
    if (thread == nullptr)
        RunServerCall(running);
    else if (WaitForSingleObject(thread, domainControllerWaitMs) != WAIT_OBJECT_0) {
        CloseHandle(thread);
        return WAIT_TIMEOUT;
    }
    if (thread != nullptr)
        CloseHandle(thread);
    query = *running;
    running->~CServerCall();
    std::free(running);
    return query.status;
}

void Fill(const USER_INFO_2& info, CUserInfo& user)
{
    user.expires = info.usri2_acct_expires;
    user.unitsPerWeek = info.usri2_units_per_week;
    user.allHours = info.usri2_logon_hours == nullptr;
    if (info.usri2_logon_hours != nullptr)
        std::memcpy(user.logonHours, info.usri2_logon_hours, sizeof user.logonHours);
    ToCodePage(CP_UTF8, 0, info.usri2_workstations != nullptr ? info.usri2_workstations : L"", user.workstations);
}

DWORD AskUserInfo(CServerCall& query)
{
    const CWideText server(query.server.GetText());
    const wchar_t* on = query.server.IsEmpty() ? nullptr : server.GetText();
    BYTE* buffer = nullptr;
    const NET_API_STATUS status = NetUserGetInfo(on, CWideText(query.name.GetText()), query.level, &buffer);
    if (status != NERR_Success)
        return status;
    CUserInfo& user = query.info;
    // Levels 3 and 4 begin as level 2 does, and differ only after it.
    static_assert(offsetof(USER_INFO_3, usri3_code_page) == offsetof(USER_INFO_2, usri2_code_page), "level 3");
    static_assert(offsetof(USER_INFO_4, usri4_code_page) == offsetof(USER_INFO_2, usri2_code_page), "level 4");
    if (query.level >= 2) {
        Fill(*reinterpret_cast<const USER_INFO_2*>(buffer), user);
        user.flags = reinterpret_cast<const USER_INFO_2*>(buffer)->usri2_flags;
        user.passwordAge = reinterpret_cast<const USER_INFO_2*>(buffer)->usri2_password_age;
    } else {
        user.flags = reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_flags;
    }
    if (query.level >= 3) {
        user.passwordExpired = (query.level == 4 ? reinterpret_cast<const USER_INFO_4*>(buffer)->usri4_password_expired
                                                 : reinterpret_cast<const USER_INFO_3*>(buffer)->usri3_password_expired) != 0;
        USER_MODALS_INFO_0* modals = nullptr;
        if (NetUserModalsGet(on, 0, reinterpret_cast<BYTE**>(&modals)) == NERR_Success) {
            user.maxPasswordAge = modals->usrmod0_max_passwd_age;
            NetApiBufferFree(modals);
        }
    }
    NetApiBufferFree(buffer);
    return ERROR_SUCCESS;
}

unsigned long GetUserInfo(const char* server, const char* user, unsigned level, CUserInfo& info)
{
    CServerCall query;
    query.call = AskUserInfo;
    query.server.Assign(server);
    query.name.Assign(user);
    query.level = level;
    const DWORD status = server[0] == '\0' ? AskUserInfo(query) : WithinWait(query);
    info = query.info;
    return status;
}

DWORD AskDomainController(CServerCall& query)
{
    DOMAIN_CONTROLLER_INFOW* controller = nullptr;
    const DWORD flags = std::strchr(query.name.GetText(), '.') != nullptr ? DS_IS_DNS_NAME : DS_IS_FLAT_NAME;
    const DWORD status = DsGetDcNameW(nullptr, CWideText(query.name.GetText()), nullptr, nullptr, flags, &controller);
    if (status != ERROR_SUCCESS)
        return status;
    ToCodePage(CP_UTF8, 0, controller->DomainControllerName, query.controller);
    NetApiBufferFree(controller);
    return ERROR_SUCCESS;
}

unsigned long FindDomainController(const char* domain, CHeapString& controller)
{
    CServerCall query;
    query.call = AskDomainController;
    query.name.Assign(domain);
    const DWORD status = WithinWait(query);
    controller = query.controller;
    return status;
}

// Reading the secret takes administrator rights; what it holds is wiped once it is taken.
unsigned long ReadPasswordSecret(CHeapString& secret)
{
    const CLsaPolicy policy(POLICY_GET_PRIVATE_INFORMATION);
    wchar_t name[] = L"DefaultPassword";
    LSA_UNICODE_STRING key = {static_cast<USHORT>(sizeof name - sizeof name[0]), static_cast<USHORT>(sizeof name), name};
    LSA_UNICODE_STRING* stored = nullptr;
    const unsigned long status = policy.Answer(LsaRetrievePrivateData(policy.GetHandle(), &key, &stored));
    if (status != ERROR_SUCCESS)
        return status;
    // A secret there without a value answers with none at all.
    if (stored == nullptr) {
        secret.Assign("");
        return ERROR_SUCCESS;
    }
    // Without its trailing terminators, which a secret may or may not have been stored with.
    size_t length = stored->Buffer != nullptr ? stored->Length / sizeof(wchar_t) : 0;
    while (length > 0 && stored->Buffer[length - 1] == L'\0')
        --length;
    const bool whole = ToUtf8(stored->Buffer != nullptr ? stored->Buffer : L"", secret, static_cast<int>(length));
    if (stored->Buffer != nullptr)
        SecureZeroMemory(stored->Buffer, stored->Length);
    LsaFreeMemory(stored);
    return whole ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION;
}

unsigned long LocalGroups(const char* account, CHeapString& names)
{
    LOCALGROUP_USERS_INFO_0* groups = nullptr;
    DWORD count = 0;
    DWORD total = 0;
    const NET_API_STATUS status = NetUserGetLocalGroups(nullptr, CWideText(account), 0, LG_INCLUDE_INDIRECT,
                                                        reinterpret_cast<BYTE**>(&groups), MAX_PREFERRED_LENGTH, &count,
                                                        &total);
    if (status != NERR_Success)
        return status;
    for (DWORD i = 0; i < count; ++i) {
        CHeapString name;
        ToCodePage(CP_UTF8, 0, groups[i].lgrui0_name, name);
        names.Append(i != 0 ? "," : "");
        names.Append(name);
    }
    NetApiBufferFree(groups);
    return ERROR_SUCCESS;
}

unsigned long LogonRights(const char* sid, bool& allowed, bool& denied)
{
    PSID holder = nullptr;
    if (!ConvertStringSidToSidW(CWideText(sid), &holder))
        return GetLastError();
    const CLsaPolicy policy(POLICY_LOOKUP_NAMES);
    LSA_UNICODE_STRING* rights = nullptr;
    ULONG count = 0;
    const unsigned long status = policy.Answer(LsaEnumerateAccountRights(policy.GetHandle(), holder, &rights, &count));
    LocalFree(holder);
    if (status != ERROR_SUCCESS)
        return status;
    for (ULONG i = 0; i < count; ++i) {
        CHeapString right;
        TakeName(rights[i], right);
        allowed = allowed || EqualsIgnoreCase(right.GetText(), "SeInteractiveLogonRight");
        denied = denied || EqualsIgnoreCase(right.GetText(), "SeDenyInteractiveLogonRight");
    }
    LsaFreeMemory(rights);
    return ERROR_SUCCESS;
}

unsigned long LogOn(const char* user, const char* domain, const char* password)
{
    HANDLE token = nullptr;
    const CWideText wideDomain(domain != nullptr ? domain : "");
    if (!LogonUserW(CWideText(user), domain != nullptr ? wideDomain.GetText() : nullptr, CWideText(password),
                    LOGON32_LOGON_INTERACTIVE, LOGON32_PROVIDER_DEFAULT, &token))
        return GetLastError();
    CloseHandle(token);
    return ERROR_SUCCESS;
}

void Describe(unsigned long status, CHeapString& text)
{
    CSystemStatus(status).AppendText(text);
}

} // namespace

const CLogonCalls windowsLogonCalls = {Now,        ReadValue,          ReadComputer,     LookUpAccount,
                                       GetUserInfo, FindDomainController, ReadPasswordSecret, LocalGroups,
                                       LogonRights, LogOn,              Describe};

#include "Account.h"

#include "OutOfMemory.h"
#include "SystemStatus.h"
#include "WideText.h"

#include <windows.h>

#include <dsgetdc.h>
#include <lm.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// How long a domain controller has to answer: DsGetDcName alone may take a minute without a network.
const DWORD domainControllerWaitMs = 5000;

// Zero when found, with the domain that holds it, as Windows names it; otherwise the error.
DWORD LookUpName(const char* name, CHeapString& foundIn)
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainLength = sizeof domain / sizeof domain[0];
    SID_NAME_USE use;
    if (!LookupAccountNameW(nullptr, CWideText(name), sid, &sidSize, domain, &domainLength, &use))
        return GetLastError();
    ToCodePage(CP_UTF8, 0, domain, foundIn);
    return ERROR_SUCCESS;
}

// One account's state, asked in a thread of its own, which the program does not wait for longer
// than a domain controller may take: it then ends with the program. So the query holds copies of
// what it asks, and is not freed while the thread may still use it.
struct CStateQuery
{
    CHeapString domain; // "" for this computer
    CHeapString user;
    CAccountState state;
};

void Fill(const USER_INFO_2& info, CAccountState& state)
{
    state.detailed = true;
    state.expires = info.usri2_acct_expires;
    state.unitsPerWeek = info.usri2_units_per_week;
    state.allHours = info.usri2_logon_hours == nullptr;
    if (info.usri2_logon_hours != nullptr)
        std::memcpy(state.logonHours, info.usri2_logon_hours, sizeof state.logonHours);
    ToCodePage(CP_UTF8, 0, info.usri2_workstations != nullptr ? info.usri2_workstations : L"", state.workstations);
}

// The fullest level Windows answers, from 4 down: level 4 (XP and later) and 3 hold all of it, 2 all
// but the password to be changed, 1 the flags alone. Each refusal says why the rest is unknown.
void AskLevels(const wchar_t* server, const wchar_t* user, CAccountState& state)
{
    for (const DWORD level : {4, 3, 2, 1}) {
        BYTE* buffer = nullptr;
        const NET_API_STATUS status = NetUserGetInfo(server, user, level, &buffer);
        if (status != NERR_Success) {
            CHeapString& reason = level >= 3 ? state.passwordAgeReason : level == 2 ? state.detailReason : state.reason;
            reason.Assign("");
            CSystemStatus(status).AppendText(reason);
            continue;
        }
        DWORD flags = 0;
        // Levels 3 and 4 begin as level 2 does, and differ only after it.
        static_assert(offsetof(USER_INFO_3, usri3_code_page) == offsetof(USER_INFO_2, usri2_code_page), "level 3");
        static_assert(offsetof(USER_INFO_4, usri4_code_page) == offsetof(USER_INFO_2, usri2_code_page), "level 4");
        if (level == 4 || level == 3) {
            const auto& info = *reinterpret_cast<const USER_INFO_3*>(buffer);
            Fill(*reinterpret_cast<const USER_INFO_2*>(buffer), state);
            flags = info.usri3_flags;
            state.passwordAgeKnown = true;
            state.mustChangePassword =
                (level == 4 ? reinterpret_cast<const USER_INFO_4*>(buffer)->usri4_password_expired
                            : info.usri3_password_expired) != 0;
        } else if (level == 2) {
            Fill(*reinterpret_cast<const USER_INFO_2*>(buffer), state);
            flags = reinterpret_cast<const USER_INFO_2*>(buffer)->usri2_flags;
        } else {
            flags = reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_flags;
        }
        NetApiBufferFree(buffer);
        state.answer = CAccountState::answered;
        state.disabled = (flags & UF_ACCOUNTDISABLE) != 0;
        state.lockedOut = (flags & UF_LOCKOUT) != 0;
        state.passwordExpired = (flags & UF_PASSWORD_EXPIRED) != 0;
        state.smartCardRequired = (flags & UF_SMARTCARD_REQUIRED) != 0;
        return;
    }
    state.answer = CAccountState::failed;
}

DWORD WINAPI AskDomainController(void* context)
{
    CStateQuery& query = *static_cast<CStateQuery*>(context);
    const CWideText domain(query.domain.GetText());
    DOMAIN_CONTROLLER_INFOW* controller = nullptr;
    const DWORD flags = std::strchr(query.domain.GetText(), '.') != nullptr ? DS_IS_DNS_NAME : DS_IS_FLAT_NAME;
    const DWORD status = DsGetDcNameW(nullptr, domain, nullptr, nullptr, flags, &controller);
    if (status != ERROR_SUCCESS) {
        query.state.answer = CAccountState::failed;
        query.state.reason.Assign("no domain controller of ");
        query.state.reason.Append(query.domain);
        query.state.reason.Append(" answered: ");
        CSystemStatus(status).AppendText(query.state.reason);
        return 0;
    }
    AskLevels(controller->DomainControllerName, CWideText(query.user.GetText()), query.state);
    NetApiBufferFree(controller);
    return 0;
}

} // namespace

void LookUpAccount(const CAskedAccount& asked, CAccountLookup& lookup)
{
    const DWORD error = LookUpName(asked.name.GetText(), lookup.foundIn);
    lookup.answer = error == ERROR_SUCCESS     ? CAccountLookup::found
                    : error == ERROR_NONE_MAPPED ? CAccountLookup::notFound
                                                 : CAccountLookup::failed;
    if (lookup.answer == CAccountLookup::failed)
        CSystemStatus(error).AppendText(lookup.reason);
    // A domain asked by its DNS name answers by its NetBIOS name: the domain's own lookup tells both.
    if (lookup.answer == CAccountLookup::found && asked.where == CAskedAccount::otherDomain)
        static_cast<void>(LookUpName(asked.domain.GetText(), lookup.askedDomainName));
}

void ReadAccountState(const CAskedAccount& asked, const CAccountLookup& lookup, CAccountState& state)
{
    if (asked.where == CAskedAccount::thisComputer) {
        AskLevels(nullptr, CWideText(asked.user.GetText()), state);
        return;
    }
    auto* query = new (AllocateOrStop(1, sizeof(CStateQuery)))
        CStateQuery{asked.where == CAskedAccount::asGiven ? lookup.foundIn : asked.domain, asked.user, {}};
    const HANDLE thread = CreateThread(nullptr, 0, AskDomainController, query, 0, nullptr);
    if (thread == nullptr) {
        AskDomainController(query);
    } else if (WaitForSingleObject(thread, domainControllerWaitMs) != WAIT_OBJECT_0) {
        state.answer = CAccountState::failed;
        state.reason.Assign("no domain controller of ");
        state.reason.Append(query->domain);
        state.reason.Append(" answered within 5 seconds");
        CloseHandle(thread);
        return;
    }
    if (thread != nullptr)
        CloseHandle(thread);
    state = query->state;
    query->~CStateQuery();
    std::free(query);
}

#include "LogonReader.h"

#include "WinlogonKeys.h"

#include <cstring>

namespace {

// What the reader says of a status, in Windows' words.
void Explain(const CLogonCalls& calls, const char* what, unsigned long status, CHeapString& reason)
{
    reason.Assign(what);
    calls.describe(status, reason);
}

void NoController(const CLogonCalls& calls, const char* domain, unsigned long status, CHeapString& reason)
{
    reason.Assign("no domain controller of ");
    reason.Append(domain);
    if (status == statusWaitedOut) {
        reason.Append(" answered within 5 seconds");
        return;
    }
    reason.Append(" answered: ");
    calls.describe(status, reason);
}

void LookUpAccount(const CLogonCalls& calls, const CAskedAccount& asked, CAccountLookup& lookup)
{
    const unsigned long status = calls.lookUpAccount(asked.name.GetText(), lookup);
    lookup.answer = status == 0                  ? CAccountLookup::found
                    : status == statusNoneMapped ? CAccountLookup::notFound
                                                 : CAccountLookup::failed;
    if (lookup.answer == CAccountLookup::failed)
        Explain(calls, "", status, lookup.reason);
    // A domain asked by its DNS name answers by its NetBIOS name: the domain's own lookup tells both.
    CAccountLookup domain;
    if (lookup.answer == CAccountLookup::found && asked.where == CAskedAccount::otherDomain &&
        calls.lookUpAccount(asked.domain.GetText(), domain) == 0)
        lookup.askedDomainName = domain.foundIn;
}

// The fullest level Windows answers, from 4 down: 4 and 3 hold all of it, 2 all but the password to
// be changed, 1 the flags alone. Each refusal says why the rest is unknown.
void AskLevels(const CLogonCalls& calls, const char* server, const char* user, CAccountState& state)
{
    for (const unsigned level : {4u, 3u, 2u, 1u}) {
        CUserInfo info;
        const unsigned long status = calls.getUserInfo(server, user, level, info);
        if (status != 0) {
            CHeapString& reason = level >= 3 ? state.passwordAgeReason : level == 2 ? state.detailReason : state.reason;
            Explain(calls, "", status, reason);
            continue;
        }
        state.answer = CAccountState::answered;
        state.disabled = (info.flags & flagDisabled) != 0;
        state.lockedOut = (info.flags & flagLockedOut) != 0;
        state.passwordExpired = (info.flags & flagPasswordExpired) != 0;
        state.smartCardRequired = (info.flags & flagSmartCardRequired) != 0;
        state.passwordNeverExpires = (info.flags & flagPasswordNeverExpires) != 0;
        state.detailed = level >= 2;
        state.expires = info.expires;
        state.unitsPerWeek = info.unitsPerWeek;
        state.allHours = info.allHours;
        std::memcpy(state.logonHours, info.logonHours, sizeof state.logonHours);
        state.workstations = info.workstations;
        state.passwordAgeKnown = level >= 3;
        state.mustChangePassword = info.passwordExpired;
        state.passwordAge = info.passwordAge;
        state.maxPasswordAge = info.maxPasswordAge;
        return;
    }
    state.answer = CAccountState::failed;
}

// The account's own name, and where to ask for its state: this computer ("") for its own accounts, a
// domain controller of its domain for a domain's; false when none answered.
bool WhereToAsk(const CLogonCalls& calls, const CLogonState& state, const CAskedAccount& asked, CHeapString& server,
                CAccountState& account)
{
    const bool given = asked.where == CAskedAccount::asGiven;
    const CHeapString& domain = given ? state.lookup.foundIn : asked.domain;
    if (asked.where == CAskedAccount::thisComputer || EqualsIgnoreCase(domain.GetText(), state.computer.name.GetText()))
        return true;
    const unsigned long status = calls.findDomainController(domain.GetText(), server);
    if (status == 0)
        return true;
    account.answer = CAccountState::failed;
    NoController(calls, domain.GetText(), status, account.reason);
    return false;
}

// Who of the account, its local groups, Everyone, Authenticated Users and INTERACTIVE is given "Deny
// log on locally" or "Allow log on locally". Only rights given directly are answered for.
void ReadLogonRights(const CLogonCalls& calls, const CLogonState& state, const CAskedAccount& asked,
                     CLogonRights& rights)
{
    CHeapString groups;
    const unsigned long listed = calls.localGroups(asked.name.GetText(), groups);
    if (listed != 0) {
        rights.answer = CLogonRights::failed;
        Explain(calls, "its local groups could not be listed: ", listed, rights.reason);
        return;
    }
    struct CHolder
    {
        CHeapString name;
        CHeapString sid;
    };
    CHolder holders[] = {{asked.name, state.lookup.sid}, {"Everyone", "S-1-1-0"},
                         {"Authenticated Users", "S-1-5-11"}, {"INTERACTIVE", "S-1-5-4"}};
    rights.answer = CLogonRights::answered;
    const auto check = [&](const char* name, const char* sid) {
        bool allowed = false;
        bool denied = false;
        const unsigned long status = calls.logonRights(sid, allowed, denied);
        if (status != 0 && status != statusFileNotFound) {
            rights.answer = CLogonRights::failed;
            Explain(calls, "", status, rights.reason);
        }
        rights.allowed = rights.allowed || allowed;
        if (denied && rights.deniedTo.IsEmpty())
            rights.deniedTo.Assign(name);
    };
    for (const CHolder& holder : holders)
        check(holder.name.GetText(), holder.sid.GetText());
    for (const char* p = groups.GetText(); *p != '\0';) {
        const char* end = std::strchr(p, ',');
        CHeapString name;
        name.Assign(p, end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p));
        CAccountLookup group;
        if (calls.lookUpAccount(name.GetText(), group) == 0)
            check(name.GetText(), group.sid.GetText());
        p = end != nullptr ? end + 1 : p + std::strlen(p);
    }
}

void ComparePasswordSecret(const CLogonCalls& calls, CLogonState& state)
{
    CPasswordSecret& secret = state.secret;
    CHeapString stored;
    const unsigned long status = calls.readPasswordSecret(stored);
    // Compared only with a text that Windows reads.
    const bool comparable = state.password.state == CValueRead::read && state.password.type == regSz;
    if (status == statusFileNotFound)
        secret.answer = CPasswordSecret::none;
    else if (status != 0)
        Explain(calls, "", status, secret.reason);
    else if (!comparable)
        secret.answer = CPasswordSecret::there;
    else
        secret.answer = std::strcmp(stored.GetText(), state.password.text.GetText()) == 0 ? CPasswordSecret::same
                                                                                          : CPasswordSecret::differs;
    stored.Wipe();
}

// Logs on as Winlogon asks: domain "." for this computer's accounts, none for a user@domain name.
void LogOn(const CLogonCalls& calls, const CAskedAccount& asked, const char* password, CLogonTry& result)
{
    const bool given = asked.where == CAskedAccount::asGiven;
    const bool local = asked.where == CAskedAccount::thisComputer;
    result.account = given ? asked.name : local ? CHeapString(".\\") : asked.domain;
    if (!given) {
        if (!local)
            result.account.Append("\\");
        result.account.Append(asked.user);
    }
    result.answer = CLogonTry::tried;
    result.status = calls.logOn(asked.user.GetText(), given ? nullptr : local ? "." : asked.domain.GetText(), password);
    result.reason.Assign("");
    if (result.status != 0)
        calls.describe(result.status, result.reason);
}

void NotTried(CLogonTry& result, CLogonTry::Answer answer, const char* why, const char* more = "")
{
    result.answer = answer;
    result.reason.Assign(why);
    result.reason.Append(more);
}

} // namespace

void ReadLogonState(CLogonState& state, const CLogonCalls& calls)
{
    state.now = calls.now();
    const unsigned long opened = calls.readValue(winlogonPath, autoAdminLogonValue, state.autoAdminLogon);
    state.winlogonRead = opened == 0;
    if (!state.winlogonRead) {
        Explain(calls, "", opened, state.winlogonReason);
        return;
    }
    calls.readValue(winlogonPath, userNameValue, state.userName);
    calls.readValue(winlogonPath, domainValue, state.domain);
    calls.readValue(winlogonPath, autoLogonCountValue, state.autoLogonCount);
    calls.readValue(winlogonPath, passwordValue, state.password);
    calls.readValue(systemPoliciesPath, legalNoticeCaptionValue, state.caption);
    calls.readValue(systemPoliciesPath, legalNoticeTextValue, state.message);
    calls.readValue(systemPoliciesPath, smartCardPolicyValue, state.smartCard);
    // Only whether it is there counts; its command holds the password.
    calls.readValue(runOncePath, reloadValueName, state.entry);
    state.entry.text.Wipe();

    calls.readComputer(state.computer);
    const CAskedAccount asked = AskedAccount(state);
    if (asked.IsLookedUp()) {
        LookUpAccount(calls, asked, state.lookup);
        // An account of another domain than the one asked, or no user at all, is a stop whatever
        // its state.
        CHeapString server;
        if (state.lookup.answer == CAccountLookup::found && state.lookup.kind == kindUser &&
            FoundWhereAsked(state, asked) && WhereToAsk(calls, state, asked, server, state.account)) {
            AskLevels(calls, server.GetText(),
                      (asked.where == CAskedAccount::asGiven ? state.lookup.accountName : asked.user).GetText(),
                      state.account);
            ReadLogonRights(calls, state, asked, state.rights);
        }
    }
    ComparePasswordSecret(calls, state);
}

void TryCredentials(const CLogonState& state, const CAskedAccount& asked, const char* password, CLogonTry& result,
                    const CLogonCalls& calls)
{
    if (!asked.IsLookedUp()) {
        NotTried(result, CLogonTry::undecided, "there is no account Winlogon would ask for");
        return;
    }
    // A program's logon with a blank password is refused where the console's is allowed.
    if (password[0] == '\0') {
        NotTried(result, CLogonTry::noted,
                 "the password is empty, and Windows refuses a blank password to every logon but the console's");
        return;
    }
    // Off the network an interactive logon takes cached credentials, which refuse a password changed
    // since: a domain account is tried only with one of its controllers answering.
    const bool given = asked.where == CAskedAccount::asGiven;
    const bool local = asked.where == CAskedAccount::thisComputer ||
                       (given && state.computer.membership != CComputer::member);
    CHeapString controller;
    const unsigned long status =
        local ? 0 : calls.findDomainController(given ? std::strchr(asked.name.GetText(), '@') + 1 : asked.domain.GetText(),
                                               controller);
    if (status != 0) {
        CHeapString why;
        NoController(calls, asked.domain.IsEmpty() ? "its domain" : asked.domain.GetText(), status, why);
        NotTried(result, CLogonTry::undecided, "not tried: ", why.GetText());
        return;
    }
    LogOn(calls, asked, password, result);
}

void TryLogon(CLogonState& state, const CLogonCalls& calls)
{
    CLogonTry& result = state.logonTry;
    const CAskedAccount asked = AskedAccount(state);
    CHeapString secret;
    const unsigned long status = calls.readPasswordSecret(secret);
    if (status != 0 && status != statusFileNotFound) {
        NotTried(result, CLogonTry::undecided, "not tried: the LSA secret DefaultPassword, which Windows uses first, "
                                              "could not be read: run it elevated");
    } else if (status == statusFileNotFound && state.password.state != CValueRead::read) {
        NotTried(result, CLogonTry::undecided, "not tried: there is no password, neither the LSA secret nor DefaultPassword");
    } else {
        TryCredentials(state, asked, status == 0 ? secret.GetText() : state.password.text.GetText(), result, calls);
    }
    secret.Wipe();
}

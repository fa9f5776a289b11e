#include "LogonReader.h"

#include "Account.h"
#include "LocalSecurity.h"
#include "Registry.h"
#include "WideText.h"
#include "WinlogonKeys.h"


namespace {

CRegistryKey OpenKey(const char* path)
{
    return CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, path);
}

} // namespace

void ReadLogonState(CLogonState& state)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    // From 100 ns ticks since 1601 to seconds since 1970.
    state.now = (static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) / 10000000 - 11644473600ULL;

    const CRegistryKey winlogon = OpenKey(winlogonPath);
    state.winlogonRead = winlogon.IsOpen();
    if (!state.winlogonRead) {
        winlogon.GetOpenStatus().AppendText(state.winlogonReason);
        return;
    }
    winlogon.Read(autoAdminLogonValue, state.autoAdminLogon);
    winlogon.Read(userNameValue, state.userName);
    winlogon.Read(domainValue, state.domain);
    winlogon.Read(autoLogonCountValue, state.autoLogonCount);
    winlogon.Read(passwordValue, state.password);

    const CRegistryKey policies = OpenKey(systemPoliciesPath);
    policies.Read(legalNoticeCaptionValue, state.caption);
    policies.Read(legalNoticeTextValue, state.message);
    // Only whether it is there counts; its command holds the password.
    OpenKey(runOncePath).Read(reloadValueName, state.entry);
    state.entry.text.Wipe();

    ReadComputer(state.computer);
    const CAskedAccount asked = AskedAccount(state);
    if (asked.where != CAskedAccount::none && asked.where != CAskedAccount::conflicting) {
        LookUpAccount(asked, state.lookup);
        // An account of another domain than the one asked is a stop whatever its state.
        if (state.lookup.answer == CAccountLookup::found && FoundWhereAsked(state, asked))
            ReadAccountState(asked, state.lookup, state.account);
    }
    // The secret is compared with the registry's password only where that is a text Windows reads.
    const bool comparable = state.password.state == CValueRead::read && state.password.type == regSz;
    const CWideText password(comparable ? state.password.text.GetText() : "");
    ComparePasswordSecret(comparable ? password.GetText() : nullptr, password.GetLength(), state.secret);
}

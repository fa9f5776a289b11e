#include "LogonState.h"

#include "Account.h"
#include "LocalSecurity.h"
#include "Registry.h"
#include "WinlogonKeys.h"

#include <cstring>

namespace {

CRegistryKey OpenKey(const char* path)
{
    return CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, path);
}

void ReadWinlogon(const CRegistryKey& winlogon, CLogonState& state)
{
    CHeapString autoAdminLogon;
    state.autoAdminLogonThere = static_cast<bool>(winlogon.HasValue(autoAdminLogonValue));
    state.autoAdminLogonOn = winlogon.ReadString(autoAdminLogonValue, autoAdminLogon) &&
                             std::strcmp(autoAdminLogon.GetText(), "1") == 0;
    // A name of another type still lands in the text, as Winlogon would read it; none is "".
    static_cast<void>(winlogon.ReadString(userNameValue, state.userName));
    static_cast<void>(winlogon.ReadString(domainValue, state.domain));
    state.passwordThere = static_cast<bool>(winlogon.HasValue(passwordValue));
    state.countThere = static_cast<bool>(winlogon.HasValue(autoLogonCountValue));
    state.countIsNumber = static_cast<bool>(winlogon.ReadDword(autoLogonCountValue, state.count));
}

// A policy set as a list of lines (REG_MULTI_SZ) counts by its first line; one that is not whole
// UTF-16 holds text all the same.
bool HoldsText(const CRegistryKey& key, const char* name)
{
    CHeapString text;
    if (key.ReadString(name, text).GetCode() == ERROR_NO_UNICODE_TRANSLATION)
        return true;
    return !text.IsEmpty();
}

} // namespace

void ReadLogonState(CLogonState& state)
{
    const CRegistryKey winlogon = OpenKey(winlogonPath);
    if (!winlogon.IsOpen()) {
        winlogon.GetOpenStatus().AppendText(state.winlogonReason);
        return;
    }
    state.winlogonRead = true;
    ReadWinlogon(winlogon, state);

    const CRegistryKey policies = OpenKey(systemPoliciesPath);
    state.captionSet = HoldsText(policies, legalNoticeCaptionValue);
    state.messageSet = HoldsText(policies, legalNoticeTextValue);
    state.entryThere = static_cast<bool>(OpenKey(runOncePath).HasValue(reloadValueName));

    if (!state.userName.IsEmpty())
        state.account = LookUpAccount(state.userName.GetText(), state.domain.GetText());
    state.secret = FindPasswordSecret();
}

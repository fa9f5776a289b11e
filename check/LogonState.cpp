#include "LogonState.h"

#include "Account.h"
#include "LocalSecurity.h"
#include "Registry.h"
#include "WinlogonSettings.h"

#include <cstring>

const char* const systemPoliciesPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

namespace {

std::unique_ptr<CRegistryKey> OpenKey(const char* path)
{
    return CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, path);
}

void ReadWinlogon(const CRegistryKey& winlogon, CLogonState& state)
{
    CHeapString autoAdminLogon;
    state.autoAdminLogonThere = winlogon.HasValue("AutoAdminLogon");
    state.autoAdminLogonOn = winlogon.ReadString("AutoAdminLogon", autoAdminLogon) &&
                             std::strcmp(autoAdminLogon.GetText(), "1") == 0;
    // A name of another type still lands in the text, as Winlogon would read it; none is "".
    static_cast<void>(winlogon.ReadString("DefaultUserName", state.userName));
    static_cast<void>(winlogon.ReadString("DefaultDomainName", state.domain));
    state.passwordThere = winlogon.HasValue("DefaultPassword");
    state.countThere = winlogon.HasValue("AutoLogonCount");
    state.countIsNumber = winlogon.ReadDword("AutoLogonCount", state.count);
}

// A policy set as a list of lines (REG_MULTI_SZ) counts by its first line; one that is not whole
// UTF-16 holds text all the same.
bool HoldsText(const CRegistryKey* key, const char* name)
{
    CHeapString text;
    if (key == nullptr)
        return false;
    if (!key->ReadString(name, text) && key->GetLastStatus() == ERROR_NO_UNICODE_TRANSLATION)
        return true;
    return !text.IsEmpty();
}

} // namespace

void ReadLogonState(CLogonState& state)
{
    const std::unique_ptr<CRegistryKey> winlogon = OpenKey(CWinlogonSettings::winlogonPath);
    if (!winlogon)
        return;
    state.winlogonRead = true;
    ReadWinlogon(*winlogon, state);

    const std::unique_ptr<CRegistryKey> policies = OpenKey(systemPoliciesPath);
    state.captionSet = HoldsText(policies.get(), "LegalNoticeCaption");
    state.messageSet = HoldsText(policies.get(), "LegalNoticeText");
    const std::unique_ptr<CRegistryKey> runOnce = OpenKey(CWinlogonSettings::runOncePath);
    state.entryThere = runOnce && runOnce->HasValue(CWinlogonSettings::reloadValueName);

    if (!state.userName.IsEmpty())
        state.account = LookUpAccount(state.userName.GetText(), state.domain.GetText());
    state.secret = FindPasswordSecret();
}

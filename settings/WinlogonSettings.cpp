#include "WinlogonSettings.h"

#include "ExecutablePath.h"
#include "Registry.h"
#include "ReloadCommand.h"
#include "WinlogonKeys.h"

namespace {

CWinlogonResult::CWrite Written(CSystemStatus status)
{
    return {status ? CWinlogonResult::written : CWinlogonResult::failed, status};
}

} // namespace

CWinlogonSettings::CWinlogonSettings()
    : m_winlogonKey(CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, winlogonPath)),
      m_runOnceKey(CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, runOncePath))
{
    Load();
}

void CWinlogonSettings::Load()
{
    // Each key loads what it holds, whatever became of the other: boxes left empty for a missing
    // RunOnce key would have OK write "" over every stored value.
    m_userNameUnread = LoadText(userNameValue, m_userName);
    m_passwordUnread = LoadText(passwordValue, m_password);
    m_domainUnread = LoadText(domainValue, m_domain);
    m_reload = static_cast<bool>(m_runOnceKey.HasValue(reloadValueName));
}

bool CWinlogonSettings::LoadText(const char* name, CHeapString& text) const
{
    // A missing value leaves its member empty, and one of another type loads as the text it holds:
    // either is what an administrator would see and edit.
    const unsigned long status = m_winlogonKey.ReadString(name, text).GetCode();
    return status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && status != ERROR_UNSUPPORTED_TYPE;
}

CWinlogonResult::CWrite CWinlogonSettings::WriteWinlogon(const char* name, const char* text)
{
    return Written(m_winlogonKey.WriteString(name, text));
}

void CWinlogonSettings::SetUserName(const char* userName, CWinlogonResult& result)
{
    result.m_autoAdminLogon = WriteWinlogon(autoAdminLogonValue, userName[0] != '\0' ? "1" : "0");
    m_userName.Assign(userName);
    result.m_userName = WriteWinlogon(userNameValue, m_userName.GetText());
}

void CWinlogonSettings::SetPassword(const char* password, CWinlogonResult& result)
{
    m_password.Assign(password);
    result.m_password = WriteWinlogon(passwordValue, m_password.GetText());
}

void CWinlogonSettings::SetDomain(const char* domain, CWinlogonResult& result)
{
    m_domain.Assign(domain);
    result.m_domain = WriteWinlogon(domainValue, m_domain.GetText());
}

void CWinlogonSettings::SetReload(bool on, CWinlogonResult& result)
{
    m_reload = on;
    if (!on) {
        // Done when no entry is left, whether it went now or was never there, or there is no key
        // to hold one.
        const CSystemStatus deleted = m_runOnceKey.DeleteValue(reloadValueName);
        const bool none = m_runOnceKey.HasValue(reloadValueName).GetCode() == ERROR_FILE_NOT_FOUND;
        result.m_reload = Written(none ? ERROR_SUCCESS : deleted);
        return;
    }
    CHeapString directory;
    CHeapString command;
    const CSystemStatus found = GetExecutableDirectory(directory);
    if (found)
        BuildReloadCommand(directory.GetText(), m_userName.GetText(), m_password.GetText(), m_domain.GetText(),
                           command);
    // Without its own directory the command would name a Tollvey.exe wherever Windows starts it,
    // and a longer command would be registered and never bring the values back. No entry is
    // written then, and one left from an earlier run goes: it would bring older values back.
    const bool tooLong = ReloadCommandLength(command.GetText()) > maxReloadCommandLength;
    if (!found || tooLong) {
        static_cast<void>(m_runOnceKey.DeleteValue(reloadValueName));
        result.m_reload = tooLong ? CWinlogonResult::CWrite{CWinlogonResult::commandTooLong, {}} : Written(found);
        return;
    }
    if (!m_runOnceKey.IsOpen())
        m_runOnceKey = CRegistry::Instance().CreateKey(CRegistry::rootLocalMachine, runOncePath);
    result.m_reload = Written(m_runOnceKey.WriteString(reloadValueName, command.GetText()));
}

CWinlogonResult CWinlogonSettings::Apply(const CWinlogonChange& change)
{
    CWinlogonResult result;
    if (change.m_userName != nullptr)
        SetUserName(change.m_userName, result);
    if (change.m_password != nullptr)
        SetPassword(change.m_password, result);
    if (change.m_domain != nullptr)
        SetDomain(change.m_domain, result);
    if (change.m_reload != CWinlogonChange::reloadLeft)
        SetReload(change.m_reload == CWinlogonChange::reloadOn, result);
    return result;
}

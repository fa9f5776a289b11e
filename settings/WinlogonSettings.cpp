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

CWinlogonResult::CWrite CWinlogonSettings::SetText(const char* name, const char* text, CHeapString& member)
{
    member.Assign(text);
    return Written(m_winlogonKey.WriteString(name, member.GetText()));
}

CWinlogonResult::CWrite CWinlogonSettings::SetReload(bool on)
{
    m_reload = on;
    if (!on) {
        // Done when no entry is left, whether it went now or was never there, or there is no key
        // to hold one.
        const CSystemStatus deleted = m_runOnceKey.DeleteValue(reloadValueName);
        const bool none = m_runOnceKey.HasValue(reloadValueName).GetCode() == ERROR_FILE_NOT_FOUND;
        return Written(none ? ERROR_SUCCESS : deleted);
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
        return tooLong ? CWinlogonResult::CWrite{CWinlogonResult::commandTooLong, {}} : Written(found);
    }
    if (!m_runOnceKey.IsOpen())
        m_runOnceKey = CRegistry::Instance().CreateKey(CRegistry::rootLocalMachine, runOncePath);
    return Written(m_runOnceKey.WriteString(reloadValueName, command.GetText()));
}

CWinlogonResult CWinlogonSettings::Apply(const CWinlogonChange& change)
{
    CWinlogonResult result;
    if (change.m_userName != nullptr) {
        result.m_autoAdminLogon = Written(
            m_winlogonKey.WriteString(autoAdminLogonValue, change.m_userName[0] != '\0' ? "1" : "0"));
        result.m_userName = SetText(userNameValue, change.m_userName, m_userName);
    }
    if (change.m_password != nullptr)
        result.m_password = SetText(passwordValue, change.m_password, m_password);
    if (change.m_domain != nullptr)
        result.m_domain = SetText(domainValue, change.m_domain, m_domain);
    if (change.m_reload != CWinlogonChange::reloadLeft)
        result.m_reload = SetReload(change.m_reload == CWinlogonChange::reloadOn);
    return result;
}

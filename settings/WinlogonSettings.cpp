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
    m_winlogonKey.Read(userNameValue, m_userName);
    m_winlogonKey.Read(passwordValue, m_password);
    m_winlogonKey.Read(domainValue, m_domain);
    m_runOnceKey.Read(reloadValueName, m_reload);
    m_reload.text.Wipe();
}

CWinlogonSettings::~CWinlogonSettings()
{
    m_password.text.Wipe();
}

CWinlogonResult::CWrite CWinlogonSettings::SetText(const char* name, const char* text, CValueRead& member)
{
    member.SetText(text);
    return Written(m_winlogonKey.WriteString(name, member.text.GetText()));
}

CWinlogonResult::CWrite CWinlogonSettings::SetReload(bool on)
{
    m_reload.SetText("");
    if (!on) {
        // Done when no entry is left, whether it went now or was never there, or there is no key
        // to hold one.
        m_reload.state = CValueRead::missing;
        const CSystemStatus deleted = m_runOnceKey.DeleteValue(reloadValueName);
        CValueRead left;
        m_runOnceKey.Read(reloadValueName, left);
        left.text.Wipe();
        return Written(left.state == CValueRead::missing ? CSystemStatus() : deleted);
    }
    CHeapString directory;
    CHeapString command;
    const CSystemStatus found = GetExecutableDirectory(directory);
    if (found)
        BuildReloadCommand(directory.GetText(), m_userName.text.GetText(), m_password.text.GetText(),
                           m_domain.text.GetText(), command);
    // Without its own directory the command would name a Tollvey.exe wherever Windows starts it,
    // and a longer command would be registered and never bring the values back. No entry is
    // written then, and one left from an earlier run goes: it would bring older values back.
    const bool tooLong = ReloadCommandLength(command.GetText()) > maxReloadCommandLength;
    if (!found || tooLong) {
        m_reload.state = CValueRead::missing;
        static_cast<void>(m_runOnceKey.DeleteValue(reloadValueName));
        command.Wipe();
        return tooLong ? CWinlogonResult::CWrite{CWinlogonResult::commandTooLong, CSystemStatus()} : Written(found);
    }
    if (!m_runOnceKey.IsOpen())
        m_runOnceKey = CRegistry::Instance().CreateKey(CRegistry::rootLocalMachine, runOncePath);
    const CWinlogonResult::CWrite write = Written(m_runOnceKey.WriteString(reloadValueName, command.GetText()));
    command.Wipe();
    return write;
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

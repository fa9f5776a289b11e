#include "WinlogonSettings.h"

#include "ExecutablePath.h"
#include "Registry.h"
#include "ReloadCommand.h"

CWinlogonSettings::CWinlogonSettings()
    : m_winlogonKey(CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, winlogonPath)),
      m_runOnceKey(CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, runOncePath))
{
    Load();
}

void CWinlogonSettings::Load()
{
    // A half-open store loads nothing, so that what is shown never mixes loaded and missing parts.
    if (!m_winlogonKey || !m_runOnceKey)
        return;
    // A missing value leaves its member empty, and one of another type loads as the text it
    // holds: either is what an administrator would see and edit. One that is there but could not
    // be read leaves it empty too, and is marked unread.
    const auto unread = [this](const char* name, CHeapString& text) {
        if (m_winlogonKey->ReadString(name, text))
            return false;
        const LONG status = m_winlogonKey->GetLastStatus();
        return status != ERROR_FILE_NOT_FOUND && status != ERROR_UNSUPPORTED_TYPE;
    };
    m_userNameUnread = unread("DefaultUserName", m_userName);
    m_passwordUnread = unread("DefaultPassword", m_password);
    m_domainUnread = unread("DefaultDomainName", m_domain);
    m_reload = m_runOnceKey->HasValue(reloadValueName);
}

bool CWinlogonSettings::WriteWinlogon(const char* name, const char* text)
{
    return m_winlogonKey && m_winlogonKey->WriteString(name, text);
}

bool CWinlogonSettings::SetUserName(const char* userName)
{
    // Only DefaultUserName decides the result; AutoAdminLogon follows the name.
    static_cast<void>(WriteWinlogon("AutoAdminLogon", userName[0] != '\0' ? "1" : "0"));
    m_userName.Assign(userName);
    return WriteWinlogon("DefaultUserName", m_userName.GetText());
}

bool CWinlogonSettings::SetPassword(const char* password)
{
    m_password.Assign(password);
    return WriteWinlogon("DefaultPassword", m_password.GetText());
}

bool CWinlogonSettings::SetDomain(const char* domain)
{
    m_domain.Assign(domain);
    return WriteWinlogon("DefaultDomainName", m_domain.GetText());
}

bool CWinlogonSettings::SetReload(bool on)
{
    return WriteReload(on) == CWinlogonResult::written;
}

CWinlogonResult::Outcome CWinlogonSettings::WriteReload(bool on)
{
    m_reload = on;
    if (!m_runOnceKey)
        return CWinlogonResult::failed;
    if (!on) {
        // Success means no entry is left, whether it was removed now or was never there.
        static_cast<void>(m_runOnceKey->DeleteValue(reloadValueName));
        return m_runOnceKey->HasValue(reloadValueName) ? CWinlogonResult::failed : CWinlogonResult::written;
    }
    CHeapString directory;
    CHeapString command;
    if (GetExecutableDirectory(directory))
        BuildReloadCommand(directory.GetText(), m_userName.GetText(), m_password.GetText(),
                           m_domain.GetText(), command);
    // Without its own directory the command would name a Tollvey.exe wherever Windows starts it,
    // and a longer command would be registered and never bring the values back. No entry is
    // written then, and one left from an earlier run goes: it would bring older values back.
    const bool tooLong = ReloadCommandLength(command.GetText()) > maxReloadCommandLength;
    if (command.IsEmpty() || tooLong) {
        static_cast<void>(m_runOnceKey->DeleteValue(reloadValueName));
        return tooLong ? CWinlogonResult::commandTooLong : CWinlogonResult::failed;
    }
    return m_runOnceKey->WriteString(reloadValueName, command.GetText()) ? CWinlogonResult::written
                                                                          : CWinlogonResult::failed;
}

CWinlogonResult CWinlogonSettings::Apply(const CWinlogonChange& change)
{
    const auto outcomeOf = [](bool written) {
        return written ? CWinlogonResult::written : CWinlogonResult::failed;
    };
    CWinlogonResult result;
    if (change.m_userName != nullptr)
        result.m_userName = outcomeOf(SetUserName(change.m_userName));
    if (change.m_password != nullptr)
        result.m_password = outcomeOf(SetPassword(change.m_password));
    if (change.m_domain != nullptr)
        result.m_domain = outcomeOf(SetDomain(change.m_domain));
    if (change.m_reload != CWinlogonChange::reloadLeft)
        result.m_reload = WriteReload(change.m_reload == CWinlogonChange::reloadOn);
    return result;
}

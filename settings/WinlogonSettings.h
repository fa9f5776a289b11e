// CWinlogonSettings: the automatic-logon values and the start-up entry, loaded at construction and
// written by each setter at once.
#pragma once

#include "HeapString.h"
#include "Registry.h"

#include <memory>

class CWinlogonSettings
{
public:
    static const char* const winlogonPath;
    static const char* const runOncePath;
    static const char* const reloadValueName;

    CWinlogonSettings();
    CWinlogonSettings(const CWinlogonSettings&) = delete;
    CWinlogonSettings& operator=(const CWinlogonSettings&) = delete;

    // Each returns whether its value reached the registry; the member keeps the new text anyway.
    bool SetUserName(const char* userName);
    bool SetPassword(const char* password);
    bool SetDomain(const char* domain);
    // On: whether the start-up entry was written; when the program cannot tell its own directory,
    // or the command would be longer than Windows takes, false with no entry left. Off: whether no
    // entry is left.
    bool SetReload(bool on);

    // Whether the loaded text stands in for a stored value that the active code page cannot hold,
    // with look-alikes or "?" in place of some characters (never under UTF-8), and has not been set
    // since. Such a text is no value to write back: the start-up entry leaves it out.
    bool IsUserNameAltered() const { return m_userNameAltered; }
    bool IsPasswordAltered() const { return m_passwordAltered; }
    bool IsDomainAltered() const { return m_domainAltered; }

private:
    void Load();
    bool WriteWinlogon(const char* name, const char* text);

    // Members go in reverse order: the texts, then the RunOnce key, then the Winlogon key.
    std::unique_ptr<CRegistryKey> m_winlogonKey;
    std::unique_ptr<CRegistryKey> m_runOnceKey;
    bool m_userNameAltered;
    bool m_passwordAltered;
    bool m_domainAltered;

public:
    bool m_reload;
    CHeapString m_userName;
    CHeapString m_password;
    CHeapString m_domain;
};

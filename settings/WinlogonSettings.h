// CWinlogonSettings: the automatic-logon values and the start-up entry, loaded at construction and
// written by Apply at once.
#pragma once

#include "HeapString.h"
#include "RegistryKey.h"
#include "WinlogonChange.h"

class CWinlogonSettings
{
public:
    CWinlogonSettings();
    CWinlogonSettings(const CWinlogonSettings&) = delete;
    CWinlogonSettings& operator=(const CWinlogonSettings&) = delete;

    // Writes what the change gives, in a fixed order: the user name (with AutoAdminLogon, "1" for a
    // name, "0" for none), the password, the domain, and the start-up entry last, since its command
    // is built from the values the store then holds. A member keeps its new text whether or not its
    // write succeeded.
    [[nodiscard]] CWinlogonResult Apply(const CWinlogonChange& change);

private:
    // Whether the value is there but could not be read.
    bool LoadText(const char* name, CHeapString& text) const;
    // The member takes the text, and the value is written from it.
    CWinlogonResult::CWrite SetText(const char* name, const char* text, CHeapString& member);
    // On: the entry is written, or, when the program cannot tell its own directory or the command
    // would be longer than Windows takes, none is left. Off: done when no entry is left.
    CWinlogonResult::CWrite SetReload(bool on);

    // Members go in reverse order: the texts, then the RunOnce key, then the Winlogon key.
    CRegistryKey m_winlogonKey;
    CRegistryKey m_runOnceKey;

public:
    bool m_reload = false;
    CHeapString m_userName;
    CHeapString m_password;
    CHeapString m_domain;
    // Set at loading for a stored text that could not be read: one that holds half of a surrogate
    // pair, which no UTF-8 text can hold, or one whose read failed. Its member is "" then, and
    // writing that back would lose what is stored.
    bool m_userNameUnread = false;
    bool m_passwordUnread = false;
    bool m_domainUnread = false;
};

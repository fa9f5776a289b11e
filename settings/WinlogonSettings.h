// CWinlogonSettings: the automatic-logon values and the start-up entry, loaded at construction and
// written by Apply at once.
#pragma once

#include "RegistryKey.h"
#include "ValueRead.h"
#include "WinlogonChange.h"

class CWinlogonSettings
{
public:
    CWinlogonSettings();
    CWinlogonSettings(const CWinlogonSettings&) = delete;
    CWinlogonSettings& operator=(const CWinlogonSettings&) = delete;
    ~CWinlogonSettings();

    // Writes what the change gives, in a fixed order: the user name (with AutoAdminLogon, "1" for a
    // name, "0" for none), the password, the domain, and the start-up entry last, since its command
    // is built from the values the store then holds. A member keeps its new text whether or not its
    // write succeeded.
    [[nodiscard]] CWinlogonResult Apply(const CWinlogonChange& change);

    bool IsReloadOn() const { return m_reload.state == CValueRead::read; }

private:
    // The member takes the text, and the value is written from it.
    CWinlogonResult::CWrite SetText(const char* name, const char* text, CValueRead& member);
    // On: the entry is written, or, when the program cannot tell its own directory or the command
    // would be longer than Windows takes, none is left. Off: done when no entry is left.
    CWinlogonResult::CWrite SetReload(bool on);

    // Members go in reverse order: the values, then the RunOnce key, then the Winlogon key.
    CRegistryKey m_winlogonKey;
    CRegistryKey m_runOnceKey;

public:
    // Each text as loaded, then as written. One that is there but could not be read (it holds half
    // of a surrogate pair, or Windows refused the read) is unreadable, with why, and its text is "":
    // writing that back would lose what is stored. A missing one reads as "", and one of another type
    // as the text it holds: either is what an administrator would see and edit.
    CValueRead m_userName;
    CValueRead m_password;
    CValueRead m_domain;
    // The start-up entry: read when it is there, missing when not, unreadable when the RunOnce key or
    // the entry could not be read. Its text is never used: the command holds the password.
    CValueRead m_reload;
};

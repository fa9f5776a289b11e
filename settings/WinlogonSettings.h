// CWinlogonSettings: the automatic-logon values and the start-up entry, loaded at construction and
// written by each setter at once.
#pragma once

#include "HeapString.h"
#include "RegistryKey.h"
#include "WinlogonChange.h"

#include <memory>

class CWinlogonSettings
{
public:
    // Kept in this header, so that a program that only reads these keys links none of the writes.
    static constexpr const char* winlogonPath =
        "Software\\Microsoft\\Windows NT\\CurrentVersion\\WinLogon";
    static constexpr const char* runOncePath =
        "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
    static constexpr const char* reloadValueName = "Tollvey";

    CWinlogonSettings();
    CWinlogonSettings(const CWinlogonSettings&) = delete;
    CWinlogonSettings& operator=(const CWinlogonSettings&) = delete;

    // Each returns whether its value reached the registry; the member keeps the new text anyway.
    [[nodiscard]] bool SetUserName(const char* userName);
    [[nodiscard]] bool SetPassword(const char* password);
    [[nodiscard]] bool SetDomain(const char* domain);
    // On: whether the start-up entry was written; when the program cannot tell its own directory,
    // or the command would be longer than Windows takes, false with no entry left. Off: whether no
    // entry is left.
    [[nodiscard]] bool SetReload(bool on);

    // Writes what the change gives through the setters above, the start-up entry last: its
    // command is built from the values the store then holds.
    [[nodiscard]] CWinlogonResult Apply(const CWinlogonChange& change);

private:
    void Load();
    [[nodiscard]] bool WriteWinlogon(const char* name, const char* text);
    // SetReload's work, telling a command too long for Windows from another failure.
    [[nodiscard]] CWinlogonResult::Outcome WriteReload(bool on);

    // Members go in reverse order: the texts, then the RunOnce key, then the Winlogon key.
    std::unique_ptr<CRegistryKey> m_winlogonKey;
    std::unique_ptr<CRegistryKey> m_runOnceKey;

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

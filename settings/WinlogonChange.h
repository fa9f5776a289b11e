// CWinlogonChange: what one run asks the store to write; CWinlogonResult: what became of it.
#pragma once

#include "HeapString.h"
#include "SystemStatus.h"

class CWinlogonChange
{
public:
    enum Reload { reloadLeft, reloadOn, reloadOff };
    static Reload ReloadOf(bool on) { return on ? reloadOn : reloadOff; }

    // A text is written when given and left alone when null; it stays the caller's.
    const char* m_userName = nullptr;
    const char* m_password = nullptr;
    const char* m_domain = nullptr;
    Reload m_reload = reloadLeft;
};

class CWinlogonResult
{
public:
    // failed: Windows refused the write, or the program could not tell its own folder for the
    // start-up command; commandTooLong: that command would be longer than Windows runs.
    enum Outcome { notAsked, written, failed, commandTooLong };

    struct CWrite
    {
        Outcome outcome = notAsked;
        // Why it failed.
        CSystemStatus status;
    };

    bool HasFailed() const;
    bool IsDone() const { return !HasFailed() && m_reload.outcome != commandTooLong; }

    // What to tell the user of a run that was not done, a line each: that the registry could not be
    // modified, then either that it takes administrator rights, when each failed write was refused
    // for want of them, or each value that failed with Windows' reason, in the order written; and
    // that the start-up command was too long to register.
    void AppendFailureText(CHeapString& text) const;

    // In the order the store writes them: AutoAdminLogon goes with the user name.
    CWrite m_autoAdminLogon;
    CWrite m_userName;
    CWrite m_password;
    CWrite m_domain;
    CWrite m_reload;
};

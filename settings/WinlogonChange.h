// CWinlogonChange: what one run asks the store to write; CWinlogonResult: what became of it.
#pragma once

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
    // failed: the registry refused the write, or the program could not tell its own folder for the
    // start-up command; commandTooLong: that command would be longer than Windows runs.
    enum Outcome { notAsked, written, failed, commandTooLong };

    bool HasFailed() const
    {
        return m_userName == failed || m_password == failed || m_domain == failed || m_reload == failed;
    }
    bool IsDone() const { return !HasFailed() && m_reload != commandTooLong; }

    Outcome m_userName = notAsked;
    Outcome m_password = notAsked;
    Outcome m_domain = notAsked;
    Outcome m_reload = notAsked;
};

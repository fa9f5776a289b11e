#include "WinlogonChange.h"

#include "WinlogonKeys.h"

#include <windows.h>

#include <array>

namespace {

struct CNamedWrite
{
    const char* what;
    const char* name;
    const CWinlogonResult::CWrite& write;

    bool HasFailed() const { return write.outcome == CWinlogonResult::failed; }
};

// In the order the store writes them.
std::array<CNamedWrite, 5> NamedWrites(const CWinlogonResult& result)
{
    return {{{"", autoAdminLogonValue, result.m_autoAdminLogon},
             {"", userNameValue, result.m_userName},
             {"", passwordValue, result.m_password},
             {"", domainValue, result.m_domain},
             {"start-up entry ", reloadValueName, result.m_reload}}};
}

} // namespace

bool CWinlogonResult::HasFailed() const
{
    for (const CNamedWrite& w : NamedWrites(*this)) {
        if (w.HasFailed())
            return true;
    }
    return false;
}

void CWinlogonResult::AppendFailureText(CHeapString& text) const
{
    if (HasFailed()) {
        text.Append("Couldn't modify the Windows NT Registry.\n");
        bool onlyDenied = true;
        for (const CNamedWrite& w : NamedWrites(*this))
            onlyDenied = onlyDenied && (!w.HasFailed() || w.write.status.GetCode() == ERROR_ACCESS_DENIED);
        if (onlyDenied)
            text.Append("You must have the administrator privileges.\n");
        for (const CNamedWrite& w : NamedWrites(*this)) {
            if (onlyDenied || !w.HasFailed())
                continue;
            text.Append(w.what);
            text.Append(w.name);
            text.Append(": ");
            w.write.status.AppendText(text);
            text.Append("\n");
        }
    }
    if (m_reload.outcome == commandTooLong)
        text.Append("The start-up command would be longer than the 260 characters Windows runs, and was not "
                    "registered.\n");
}

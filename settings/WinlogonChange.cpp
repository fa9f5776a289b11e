#include "WinlogonChange.h"

#include "WinlogonKeys.h"

#include <windows.h>

#include <iterator>

bool CWinlogonResult::HasFailed() const
{
    for (const CWrite* write : {&m_autoAdminLogon, &m_userName, &m_password, &m_domain, &m_reload}) {
        if (write->outcome == failed)
            return true;
    }
    return false;
}

void CWinlogonResult::AppendFailureText(CHeapString& text) const
{
    const CWrite* const writes[] = {&m_autoAdminLogon, &m_userName, &m_password, &m_domain, &m_reload};
    const char* const names[] = {autoAdminLogonValue, userNameValue, passwordValue, domainValue,
                                 reloadEntryName};
    bool onlyDenied = true;
    for (const CWrite* write : writes)
        onlyDenied = onlyDenied && (write->outcome != failed || write->status.GetCode() == ERROR_ACCESS_DENIED);
    if (HasFailed())
        text.Append(onlyDenied ? "Couldn't modify the Windows NT Registry.\nYou must have the administrator privileges.\n"
                               : "Couldn't modify the Windows NT Registry.\n");
    for (size_t i = 0; i < std::size(writes) && !onlyDenied; ++i) {
        if (writes[i]->outcome != failed)
            continue;
        text.Append(names[i]);
        text.Append(": ");
        writes[i]->status.AppendText(text);
        text.Append("\n");
    }
    if (m_reload.outcome == commandTooLong)
        text.Append("The start-up command would be longer than the 260 characters Windows runs, and was not "
                    "registered.\n");
}

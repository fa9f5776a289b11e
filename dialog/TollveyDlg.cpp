#include "TollveyDlg.h"

#include "Resource.h"
#include "WinlogonSettings.h"

#include <cstring>

namespace {

// What OK writes from a box: its text, or nothing while it stays empty over a stored text that
// could not be read, and so could not be shown.
const char* TextToWrite(const CString& box, bool unread)
{
    return (unread && box.IsEmpty()) ? nullptr : static_cast<const char*>(box);
}

} // namespace

CTollveyDlg::CTollveyDlg(CWinlogonSettings& settings, HWND parent)
    : CDialog(IDD_TOLLVEY, parent), m_reload(0), m_settings(settings)
{
}

void CTollveyDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DOMAIN, m_domain);
    DDX_Text(pDX, IDC_PASSWORD, m_password);
    DDX_Check(pDX, IDC_RELOAD, m_reload);
    DDX_Text(pDX, IDC_USERNAME, m_userName);
}

void CTollveyDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    // All four, changed or not (but for what TextToWrite leaves).
    const CWinlogonResult result = m_settings.Apply(
        {TextToWrite(m_userName, m_settings.m_userNameUnread), TextToWrite(m_password, m_settings.m_passwordUnread),
         TextToWrite(m_domain, m_settings.m_domainUnread), CWinlogonChange::ReloadOf(m_reload != 0)});
    m_saved = result.IsDone();
    CString message;
    if (m_saved) {
        static_cast<void>(message.LoadString(IDS_SAVED));
    } else {
        CHeapString lines;
        result.AppendFailureText(lines);
        // Its lines end in a newline, the last of which would show as an empty line.
        message = lines.Substring(0, std::strlen(lines.GetText()) - 1).GetText();
    }
    MessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDOK);
}

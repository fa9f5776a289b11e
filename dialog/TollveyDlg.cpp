#include "TollveyDlg.h"

#include "Resource.h"
#include "WinlogonSettings.h"

#include <cstring>

namespace {

// Posted by the form to itself, so that what it could not read is told over the form once it shows.
const UINT WM_REPORT_UNREAD = WM_APP;

bool IsUnread(const CValueRead& value)
{
    return value.state == CValueRead::unreadable;
}

// What OK writes from a box: its text, or nothing while it stays empty over a stored text that
// could not be read, and so could not be shown.
const char* TextToWrite(const CString& box, const CValueRead& stored)
{
    return (IsUnread(stored) && box.IsEmpty()) ? nullptr : static_cast<const char*>(box);
}

// A line naming a control by its string, then what follows.
void AppendLine(UINT id, const char* then, CHeapString& text)
{
    CString name;
    static_cast<void>(name.LoadString(id));
    text.Append(name);
    text.Append(then);
    text.Append("\n");
}

} // namespace

CTollveyDlg::CTollveyDlg(CWinlogonSettings& settings, HWND parent)
    : CDialog(IDD_TOLLVEY, parent), m_reload(0), m_settings(settings)
{
}

INT_PTR CTollveyDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_REPORT_UNREAD)
        return CDialog::OnMessage(message, wParam, lParam);
    ReportUnread();
    return TRUE;
}

BOOL CTollveyDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    const CWinlogonSettings& s = m_settings;
    if (IsUnread(s.m_userName) || IsUnread(s.m_password) || IsUnread(s.m_domain) || IsUnread(s.m_reload))
        PostMessageW(GetSafeHwnd(), WM_REPORT_UNREAD, 0, 0);
    return result;
}

void CTollveyDlg::ReportUnread()
{
    // The dialog manager shows the form only once no message waits, and this one came first.
    ShowWindow(GetSafeHwnd(), SW_SHOW);
    CHeapString text("These stored values could not be read:\n");
    const struct
    {
        UINT id;
        const CValueRead& value;
    } values[] = {{IDC_USERNAME, m_settings.m_userName},
                  {IDC_PASSWORD, m_settings.m_password},
                  {IDC_DOMAIN, m_settings.m_domain},
                  {IDC_RELOAD, m_settings.m_reload}};
    bool boxUnread = false;
    for (const auto& v : values) {
        if (!IsUnread(v.value))
            continue;
        CHeapString why(": ");
        why.Append(v.value.reason);
        AppendLine(v.id, why.GetText(), text);
        boxUnread = boxUnread || v.id != IDC_RELOAD;
    }
    if (boxUnread)
        text.Append("A box left empty keeps the value stored now.\n");
    if (IsUnread(m_settings.m_reload))
        text.Append("The start-up entry is left as it is unless the check box is changed.\n");
    ShowLines(text);
}

void CTollveyDlg::ShowLines(const CHeapString& lines)
{
    // The last line's newline would show as an empty line.
    MessageBox(lines.Substring(0, std::strlen(lines.GetText()) - 1).GetText(), MB_OK | MB_ICONEXCLAMATION);
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
    // The entry it could not read is left alone, unless the user asked for one by checking the box,
    // which it showed unchecked.
    const bool entryLeft = IsUnread(m_settings.m_reload) && m_reload == 0;
    const CWinlogonChange change = {TextToWrite(m_userName, m_settings.m_userName),
                                    TextToWrite(m_password, m_settings.m_password),
                                    TextToWrite(m_domain, m_settings.m_domain),
                                    entryLeft ? CWinlogonChange::reloadLeft : CWinlogonChange::ReloadOf(m_reload != 0)};
    // All four, changed or not (but for what was left).
    const CWinlogonResult result = m_settings.Apply(change);
    m_saved = result.IsDone();
    const struct
    {
        UINT id;
        bool left;
    } kept[] = {{IDC_USERNAME, change.m_userName == nullptr},
                {IDC_PASSWORD, change.m_password == nullptr},
                {IDC_DOMAIN, change.m_domain == nullptr},
                {IDC_RELOAD, entryLeft}};
    CHeapString left;
    for (const auto& k : kept) {
        if (k.left)
            AppendLine(k.id, "", left);
    }
    CHeapString lines;
    if (m_saved && left.IsEmpty()) {
        CString saved;
        static_cast<void>(saved.LoadString(IDS_SAVED));
        lines.Append(saved);
        lines.Append("\n");
    } else if (m_saved) {
        lines.Append("Tollvey values saved, but for these, left as they were, as they could not be read:\n");
    } else {
        result.AppendFailureText(lines);
        if (!left.IsEmpty())
            lines.Append("Left as they were, as they could not be read:\n");
    }
    lines.Append(left);
    ShowLines(lines);
    EndDialog(IDOK);
}

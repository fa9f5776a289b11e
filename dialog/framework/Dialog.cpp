#include "framework/Dialog.h"

#include "framework/WinApp.h"

#include "WideText.h"

namespace {

LONG Centred(LONG areaStart, LONG areaEnd, LONG size, LONG limitStart, LONG limitEnd)
{
    LONG start = areaStart + (areaEnd - areaStart - size) / 2;
    if (start + size > limitEnd)
        start = limitEnd - size;
    if (start < limitStart)
        start = limitStart;
    return start;
}

} // namespace

INT_PTR CDialog::DoModal()
{
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId),
                                           m_hWndParent, DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(m_hWnd, saveAndValidate);
    DoDataExchange(&exchange);
    if (exchange.GetMissingId() != 0)
        ReportMissing(exchange.GetMissingId());
    else if (exchange.GetFailedControl() != nullptr)
        ReportNotTaken(exchange.GetFailedControl());
    return !exchange.HasFailed();
}

void CDialog::ReportMissing(int id)
{
    CString name;
    CHeapString text("This form has no control ");
    text.AppendDecimal(static_cast<unsigned long>(id));
    if (name.LoadString(static_cast<UINT>(id))) {
        text.Append(" (");
        text.Append(name);
        text.Append(")");
    }
    text.Append(": what it stands for can be neither shown nor saved.");
    MessageBox(text.GetText(), MB_OK | MB_ICONEXCLAMATION);
}

void CDialog::ReportNotTaken(HWND control)
{
    CString name;
    static_cast<void>(name.LoadString(static_cast<UINT>(GetDlgCtrlID(control))));
    CHeapString text("The text in ");
    text.Append(name);
    text.Append(" holds half of a surrogate pair, which is no character, and cannot be stored.");
    MessageBox(text.GetText(), MB_OK | MB_ICONEXCLAMATION);
    GotoDlgCtrl(control);
}

int CDialog::MessageBox(const char* text, UINT type)
{
    const CWinApp* app = AfxGetApp();
    return MessageBoxW(m_hWnd, CWideText(text), CWideText(app != nullptr ? app->GetTitle() : ""), type);
}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK: OnOK(); return TRUE;
        case IDCANCEL: OnCancel(); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

BOOL CDialog::OnInitDialog()
{
    // A control missing from the template shows nothing, and the user is told; the dialog still
    // opens, and OK refuses.
    static_cast<void>(UpdateData(false));
    CenterWindow();
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::CenterWindow()
{
    RECT limit;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &limit, 0))
        return;
    RECT area = limit;
    if (m_hWndParent != nullptr)
        GetWindowRect(m_hWndParent, &area);
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG x = Centred(area.left, area.right, width, limit.left, limit.right);
    const LONG y = Centred(area.top, area.bottom, height, limit.top, limit.bottom);
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    // Messages sent before WM_INITDIALOG (WM_SETFONT among them) reach no object yet.
    CDialog* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return dialog != nullptr ? dialog->OnMessage(message, wParam, lParam) : FALSE;
}

// CDialog: a modal dialog on a dialog template, with its members exchanged by DoDataExchange.
#pragma once

#include "framework/DataExchange.h"

#include <windows.h>

class CDialog
{
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr)
        : m_templateId(templateId), m_hWndParent(parent) {}
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;
    virtual ~CDialog() = default;

    // IDOK or IDCANCEL as the dialog ended, -1 when it could not be created.
    [[nodiscard]] INT_PTR DoModal();

    // False when a control of the exchange is missing, or a box holds what its member cannot take;
    // the user is then told which control, and a box that holds what cannot be taken gets the focus.
    [[nodiscard]] bool UpdateData(bool saveAndValidate);

    // A message box owned by the dialog, titled with the application's title.
    int MessageBox(const char* text, UINT type = MB_OK);

    // The dialog's window while it is open; null before and after.
    HWND GetSafeHwnd() const { return m_hWnd; }

protected:
    // The one place where dialog messages become hooks; false leaves a message to the dialog manager.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // True lets the dialog manager focus the first control that takes the focus.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    virtual void DoDataExchange(CDataExchange*) {}

    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }
    void GotoDlgCtrl(HWND control) { SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE); }
    // Over the parent, or over the primary monitor's work area when there is none; kept inside that area.
    void CenterWindow();

private:
    // Name the control by the string its id has in the string table.
    void ReportMissing(int id);
    void ReportNotTaken(HWND control);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hWndParent;
    HWND m_hWnd = nullptr;
};

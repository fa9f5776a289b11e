#include "framework/DataExchange.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = GetDlgItem(m_hWndDialog, id);
    if (control == nullptr)
        m_failed = true;
    return control;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        const int length = GetWindowTextLengthA(control);
        GetWindowTextA(control, value.GetBuffer(length), length + 1);
    } else {
        SetWindowTextA(control, value);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageA(control, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

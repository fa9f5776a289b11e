#include "framework/DataExchange.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <cstdlib>

namespace {

// A dialog's controls are its children in template order, which is the tab order.
bool ComesBefore(HWND control, HWND other)
{
    for (HWND next = control; next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == other)
            return true;
    }
    return false;
}

} // namespace

void CDataExchange::Fail(HWND control)
{
    m_failed = true;
    if (m_failedControl == nullptr || ComesBefore(control, m_failedControl))
        m_failedControl = control;
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = GetDlgItem(m_hWndDialog, id);
    if (control == nullptr) {
        m_failed = true;
        if (m_missingId == 0)
            m_missingId = id;
    }
    return control;
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        const int length = GetWindowTextLengthW(control);
        wchar_t* text =
            static_cast<wchar_t*>(AllocateOrStop(static_cast<size_t>(length) + 1, sizeof(wchar_t)));
        text[GetWindowTextW(control, text, length + 1)] = L'\0';
        // A text that cannot be kept exactly is not taken: the dialog stays open.
        if (!value.AssignWide(text))
            pDX->Fail(control);
        std::free(text);
    } else {
        SetWindowTextW(control, CWideText(value));
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    else
        SendMessageW(control, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

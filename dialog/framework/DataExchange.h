// Data exchange between a dialog's controls and its members, in one direction per run.
#pragma once

#include "framework/String.h"

#include <windows.h>

class CDataExchange
{
public:
    CDataExchange(HWND dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_hWndDialog(dialog) {}

    // The control's window, or null after marking the exchange failed.
    HWND PrepareCtrl(int id);

    // Marks the exchange failed: a control's value could not be taken.
    void Fail() { m_failed = true; }
    bool HasFailed() const { return m_failed; }

    // True: controls into members; false: members into controls.
    const bool m_bSaveAndValidate;

private:
    HWND m_hWndDialog;
    bool m_failed = false;
};

void DDX_Text(CDataExchange* pDX, int id, CString& value);
// value is 0 (unchecked) or 1 (checked).
void DDX_Check(CDataExchange* pDX, int id, int& value);

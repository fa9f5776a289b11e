// Data exchange between a dialog's controls and its members, in one direction per run.
#pragma once

#include "framework/String.h"

#include <windows.h>

class CDataExchange
{
public:
    CDataExchange(HWND dialog, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_hWndDialog(dialog) {}

    // The control's window, or null after marking the exchange failed for want of it.
    HWND PrepareCtrl(int id);

    // Marks the exchange failed: the control's value could not be taken. Of such controls the first
    // in tab order is kept, for the user to mend first.
    void Fail(HWND control);
    bool HasFailed() const { return m_failed; }
    HWND GetFailedControl() const { return m_failedControl; }
    // The first control the exchange looked for and the dialog lacks; 0 when it has them all.
    int GetMissingId() const { return m_missingId; }

    // True: controls into members; false: members into controls.
    const bool m_bSaveAndValidate;

private:
    HWND m_hWndDialog;
    bool m_failed = false;
    HWND m_failedControl = nullptr;
    int m_missingId = 0;
};

void DDX_Text(CDataExchange* pDX, int id, CString& value);
// value is 0 (unchecked) or 1 (checked).
void DDX_Check(CDataExchange* pDX, int id, int& value);

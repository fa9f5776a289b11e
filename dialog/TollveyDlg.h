// CTollveyDlg: the settings form. It only edits its members; the caller loads and saves them.
#pragma once

#include "framework/Framework.h"

class CTollveyDlg : public CDialog
{
public:
    explicit CTollveyDlg(HWND parent = nullptr);

    CString m_domain;
    CString m_password;
    int m_reload;
    CString m_userName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

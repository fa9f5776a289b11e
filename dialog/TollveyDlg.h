// CTollveyDlg: the settings form. It shows its members; OK takes the boxes into them, saves them
// through the store and says whether they were saved, before the form closes.
#pragma once

#include "framework/Framework.h"

class CWinlogonSettings;

class CTollveyDlg : public CDialog
{
public:
    explicit CTollveyDlg(CWinlogonSettings& settings, HWND parent = nullptr);

    CString m_domain;
    CString m_password;
    int m_reload;
    CString m_userName;

    // After OK: whether every value was saved.
    bool m_saved = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CWinlogonSettings& m_settings;
};

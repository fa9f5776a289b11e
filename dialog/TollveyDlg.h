// CTollveyDlg: the settings form. It shows its members and says, as it opens, which stored values it
// could not read; OK takes the boxes into them, saves them through the store and says whether they
// were saved, naming what it left as it was, before the form closes.
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
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    // The values it could not read, and why, once the form shows.
    void ReportUnread();
    // A message box over the form, of lines that each end in a newline.
    void ShowLines(const CHeapString& lines);

    CWinlogonSettings& m_settings;
};

#include "TollveyDlg.h"

#include "Resource.h"

CTollveyDlg::CTollveyDlg(HWND parent) : CDialog(IDD_TOLLVEY, parent), m_reload(0) {}

void CTollveyDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_DOMAIN, m_domain);
    DDX_Text(pDX, IDC_PASSWORD, m_password);
    DDX_Check(pDX, IDC_RELOAD, m_reload);
    DDX_Text(pDX, IDC_USERNAME, m_userName);
}

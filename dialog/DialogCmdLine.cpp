#include "DialogCmdLine.h"

CDialogCmdLine::CDialogCmdLine()
    : m_userName("u", "", "", 0),
      m_password("p", "", "", 0),
      m_domain("d", "", "", 0),
      m_reload("r", "", true, true, 0)
{
    Add(m_userName);
    Add(m_password);
    Add(m_domain);
    Add(m_reload);
}

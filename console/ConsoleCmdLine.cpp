#include "ConsoleCmdLine.h"

CConsoleCmdLine::CConsoleCmdLine()
    : m_help("?", "help", false, false, 0),
      m_userName("u", "username", "", 0),
      m_password("p", "password", "", 0),
      m_domain("d", "domain name", "", 0),
      m_reload("r", "reload on every startup (default is on)", true, true, 0)
{
    // Registration order decides matching and the order of the usage text.
    Add(m_userName);
    Add(m_password);
    Add(m_domain);
    Add(m_reload);
    Add(m_help);
}

#include "CheckCmdLine.h"

CCheckCmdLine::CCheckCmdLine()
    : m_logon("logon", "also log the account on with the password Windows will use", false, false, 0),
      m_json("json", "answer with one JSON object, in UTF-8", false, false, 0),
      m_help("?", "help", false, false, 0)
{
    AddUsageNote("Tells whether Windows will log on by itself at the next start-up, and what");
    AddUsageNote("stops it. Reads only; shows no password. -logon is a logon as Windows records");
    AddUsageNote("any (event 4624, or 4625 when refused), and a wrong password counts toward");
    AddUsageNote("the account's lockout: it is never tried unless asked for.");
    Add(m_logon);
    Add(m_json);
    Add(m_help);
}

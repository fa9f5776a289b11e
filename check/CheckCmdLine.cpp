#include "CheckCmdLine.h"

CCheckCmdLine::CCheckCmdLine() : m_help("?", "help", false, false, 0)
{
    AddUsageNote("Tells whether Windows will log on by itself at the next start-up, and what");
    AddUsageNote("stops it. Reads only; shows no password.");
    Add(m_help);
}

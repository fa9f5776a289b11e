#include "DeployCmdLine.h"

CDeployCmdLine::CDeployCmdLine()
    : m_off("off", "switch automatic logon off, remove the password and the configuration version", "",
            CCmdLineArg::flagPositional),
      m_help("?", "help", false, false, 0)
{
    AddUsageNote("Sets automatic logon from TollveyDeploy.ini beside this program, checks it, and records");
    AddUsageNote("the file's configuration version; run it as the system account or as an administrator.");
    m_off.AddAllowedValue("off");
    Add(m_off);
    Add(m_help);
}

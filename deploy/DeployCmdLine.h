// CDeployCmdLine: the deployment program's arguments: nothing, to set automatic logon from its file;
// off, to switch it off; -? for the usage.
#pragma once

#include "Args.h"

class CDeployCmdLine : public CCmdLine
{
public:
    CDeployCmdLine();

    CCmdLineArgString m_off;
    CCmdLineArgToggle m_help;
};

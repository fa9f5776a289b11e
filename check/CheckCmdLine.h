// CCheckCmdLine: the check program's arguments, which only ask for its usage.
#pragma once

#include "Args.h"

class CCheckCmdLine : public CCmdLine
{
public:
    CCheckCmdLine();

    CCmdLineArgToggle m_help;
};

// CCheckCmdLine: the check program's arguments: whether to try the credentials, whether to answer in
// JSON, and its usage.
#pragma once

#include "Args.h"

class CCheckCmdLine : public CCmdLine
{
public:
    CCheckCmdLine();

    CCmdLineArgToggle m_logon;
    CCmdLineArgToggle m_json;
    CCmdLineArgToggle m_help;
};

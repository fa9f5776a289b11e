// CConsoleCmdLine: the console program's arguments.
#pragma once

#include "Args.h"

class CConsoleCmdLine : public CCmdLine
{
public:
    CConsoleCmdLine();

    CCmdLineArgToggle m_help;
    CCmdLineArgString m_userName;
    CCmdLineArgString m_password;
    CCmdLineArgString m_domain;
    CCmdLineArgToggle m_reload;
};

// CDialogCmdLine: the dialog program's arguments. Any accepted option makes the run silent.
#pragma once

#include "Args.h"

class CDialogCmdLine : public CCmdLine
{
public:
    CDialogCmdLine();

    CCmdLineArgString m_userName;
    CCmdLineArgString m_password;
    CCmdLineArgString m_domain;
    CCmdLineArgToggle m_reload;
};

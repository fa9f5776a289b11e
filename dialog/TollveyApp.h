// CTollveyApp: the dialog program. Arguments on the command line are applied silently; without
// any, or with a command line that does not parse, the settings dialog opens.
#pragma once

#include "framework/Framework.h"

class CTollveyApp : public CWinApp
{
public:
    ~CTollveyApp() override = default;

    // Does all of the program's work and returns false, which ends the program. The exit status
    // is 1 when a value could not be written or the dialog could not be shown; 0 otherwise.
    bool InitInstance() override;
};

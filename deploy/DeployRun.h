// The deployment program's two paths: a run, and explaining its usage.
#pragma once

#include "DeployCmdLine.h"

// Sets automatic logon from the file beside the program, or switches it off; the exit status.
unsigned RunDeploy(bool off);

// The argument error, if the parse found one, and the usage.
void PrintUsage(CDeployCmdLine& cmdLine);

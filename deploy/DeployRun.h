// A run of the deployment program, and its usage.
#pragma once

#include "DeployCalls.h"
#include "DeployCmdLine.h"

// Sets automatic logon from TollveyDeploy.ini in folder (the program's own, ending in a separator),
// or switches it off; tells each step on standard output, in the log and in one event. The exit
// status.
unsigned RunDeploy(bool off, const char* folder, const CDeployCalls& calls = windowsCalls);

// The argument error and the usage, and the event of a run that did nothing; exitArgumentRefused.
unsigned RefuseArguments(CDeployCmdLine& cmdLine, const CDeployCalls& calls = windowsCalls);

// The argument error, if the parse found one, and the usage.
void PrintUsage(CDeployCmdLine& cmdLine);

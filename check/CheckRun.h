// The check program's two paths: checking this computer, and explaining its usage.
#pragma once

#include "CheckCmdLine.h"

// Reads, judges and reports, the credentials tried when logon is asked for, as JSON when json is;
// the exit status.
unsigned RunCheck(bool logon, bool json);

// The argument error, if the parse found one, and the usage.
void PrintUsage(CCheckCmdLine& cmdLine);

// The check program's two paths: checking this computer, and explaining its usage.
#pragma once

#include "CheckCmdLine.h"

// Reads, judges and reports; the exit status.
unsigned RunCheck();

// The argument error, if the parse found one, and the usage.
void PrintUsage(CCheckCmdLine& cmdLine);

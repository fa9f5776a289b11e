// The console program's two paths: acting on the parsed values, and explaining its usage.
#pragma once

#include "ConsoleCmdLine.h"

void PrintBanner();

// Writes the values that were given and the start-up entry; false when any write failed.
bool ApplySettings(const CConsoleCmdLine& cmdLine);

// The argument error, if the parse found one, and the usage.
void PrintUsage(CConsoleCmdLine& cmdLine);

// The usage, after a line that names an argument which the active code page cannot hold.
void PrintUnrepresentable(const wchar_t* argument, CConsoleCmdLine& cmdLine);

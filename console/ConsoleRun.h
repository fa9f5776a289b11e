// The console program's two paths: acting on the parsed values, and explaining its usage.
#pragma once

#include "ConsoleCmdLine.h"

void PrintBanner();

// Writes the values that were given and the start-up entry; false when any write failed.
bool ApplySettings(const CConsoleCmdLine& cmdLine);

// The argument error, if the parse found one, and the usage.
void PrintUsage(CConsoleCmdLine& cmdLine);

// The error for an argument that holds half of a surrogate pair, which nothing could store
// exactly; the usage follows it.
void PrintUnconvertible(const wchar_t* argument);

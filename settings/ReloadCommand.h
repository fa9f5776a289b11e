// The start-up command that brings the stored values back at the next start-up.
#pragma once

#include "HeapString.h"

// directory ends in a separator. Each argument is quoted so that the C runtime's command-line
// splitting gives back exactly the values given; empty values are left out. The texts are in
// codePage, whose double-byte characters are kept whole.
void BuildReloadCommand(const char* directory, const char* userName, const char* password,
                        const char* domain, CHeapString& command, unsigned codePage = 0 /* CP_ACP */);

// The longest command Windows takes in a Run or RunOnce entry, in characters (UTF-16 units).
const size_t maxReloadCommandLength = 260;

// The command's length as Windows counts it: in UTF-16 units, whatever bytes the code page takes.
size_t ReloadCommandLength(const char* command, unsigned codePage = 0 /* CP_ACP */);

// Appends one argument by the Windows quoting rule: unchanged when it needs no quotes, otherwise
// quoted with its quotes and the backslashes before them escaped.
void AppendQuotedArgument(const char* argument, CHeapString& command,
                          unsigned codePage = 0 /* CP_ACP */);

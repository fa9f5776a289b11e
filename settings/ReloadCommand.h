// The start-up command that brings the stored values back at the next start-up.
#pragma once

#include "HeapString.h"

#include <cstddef>

// directory ends in a separator. Each argument is quoted so that the C runtime's command-line
// splitting gives back exactly the values given; empty values are left out.
void BuildReloadCommand(const char* directory, const char* userName, const char* password,
                        const char* domain, CHeapString& command);

// The longest command Windows takes in a Run or RunOnce entry, in characters (UTF-16 units).
const size_t maxReloadCommandLength = 260;

// The command's length as Windows counts it: in UTF-16 units, not in the bytes of its UTF-8.
size_t ReloadCommandLength(const char* command);

// Appends one argument by the Windows quoting rule: unchanged when it needs no quotes, otherwise
// quoted with its quotes and the backslashes before them escaped. Windows reads the command back
// in UTF-16, and no byte of a UTF-8 sequence but the character itself is a quote or a backslash.
void AppendQuotedArgument(const char* argument, CHeapString& command);

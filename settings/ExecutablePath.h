// Where the running executable lies.
#pragma once

#include "HeapString.h"

// The full file name, however long. False when the system cannot tell (path is then "") or when the
// active code page cannot hold the name exactly (path then has those characters replaced).
bool GetExecutablePath(CHeapString& path);

// Drive and directory, ending in a backslash (or slash, as the path has it).
bool GetExecutableDirectory(CHeapString& directory);

// The directory part of a path: up to and including its last separator, stepping over the second
// bytes of double-byte characters of the code page. "" when there is no separator.
void TakeDirectory(const char* path, CHeapString& directory, unsigned codePage = 0 /* CP_ACP */);

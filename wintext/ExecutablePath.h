// Where the running executable lies, in UTF-8.
#pragma once

#include "HeapString.h"

// The full file name, however long. False when the system cannot tell, or the name holds half of a
// surrogate pair; path is then "".
[[nodiscard]] bool GetExecutablePath(CHeapString& path);

// Drive and directory, ending in a backslash (or slash, as the path has it).
[[nodiscard]] bool GetExecutableDirectory(CHeapString& directory);

// The directory part of a path: up to and including its last separator; "" when there is none.
// No byte of a UTF-8 sequence other than a separator itself is ever a slash or a backslash.
void TakeDirectory(const char* path, CHeapString& directory);

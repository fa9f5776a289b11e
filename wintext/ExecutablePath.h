// Where the running executable lies, in UTF-8.
#pragma once

#include "HeapString.h"
#include "SystemStatus.h"

// The full file name, however long. When the system cannot tell, its reason, and
// ERROR_NO_UNICODE_TRANSLATION when the name holds half of a surrogate pair; path is then "".
[[nodiscard]] CSystemStatus GetExecutablePath(CHeapString& path);

// Drive and directory, ending in a backslash (or slash, as the path has it).
[[nodiscard]] CSystemStatus GetExecutableDirectory(CHeapString& directory);

// The directory part of a path: up to and including its last separator; "" when there is none.
// No byte of a UTF-8 sequence other than a separator itself is ever a slash or a backslash.
void TakeDirectory(const char* path, CHeapString& directory);

// UTF-16 as Windows keeps it (little-endian code units, in registry data as in memory) into the
// UTF-8 that the programs keep. Portable, so that what is made of registry data can be judged and
// tested anywhere.
#pragma once

#include "HeapString.h"

#include <cstddef>

// The first units code units of data, as UTF-8 in target. A surrogate without its other half, which
// no UTF-8 text can hold, becomes U+FFFD there, and the result is false.
bool Utf16ToUtf8(const unsigned char* data, size_t units, CHeapString& target);

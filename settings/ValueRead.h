// CValueRead: one registry value as a program read it, with Windows' answer. A plain value, without
// <windows.h>, so that what is made of a read can be judged and tested on any system.
#pragma once

#include "HeapString.h"

#include <cstddef>

// Registry value types, numbered as Windows numbers them.
enum CValueType : unsigned long {
    regNone = 0,
    regSz = 1,
    regExpandSz = 2,
    regBinary = 3,
    regDword = 4,
    regMultiSz = 7,
    regQword = 11,
};

// The status of a text that holds half of a surrogate pair (ERROR_NO_UNICODE_TRANSLATION): Windows
// keeps such a text, but no UTF-8 text can hold it.
const unsigned long statusNotWholeUtf16 = 1113;

struct CValueRead
{
    enum State { missing, read, unreadable };

    State state = missing;
    // Read: the value's type; unreadable for a text that is not whole UTF-16: that text's type.
    unsigned long type = regSz;
    // Read: the string types' text, unexpanded, each string of a REG_MULTI_SZ on a line of its own;
    // another type's bytes up to the first zero byte. "" otherwise.
    CHeapString text;
    // Read: a REG_DWORD's number.
    unsigned long number = 0;
    // Unreadable: Windows' status, and its words for it ("not whole UTF-16" for statusNotWholeUtf16).
    unsigned long status = 0;
    CHeapString reason;

    // A text the program itself has just written.
    void SetText(const char* written);
};

// Answers as RegQueryValueExW does for one value: its type and size, and with data its bytes, or
// ERROR_MORE_DATA when they have grown beyond size since it was asked.
using CValueQuery = unsigned long (*)(const void* context, unsigned long* type, unsigned char* data,
                                      unsigned long* size);

// Reads the value through query, again while it grows between the query of its size and that of its
// data, three times at most; then it is unreadable with ERROR_MORE_DATA. The reason of a status other
// than statusNotWholeUtf16 is left for the caller, which has Windows' words for it. Every copy of the
// data is wiped: it may be a password.
void ReadValue(CValueQuery query, const void* context, CValueRead& value);

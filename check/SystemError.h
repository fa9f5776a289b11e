// Texts for numbers and Windows error codes in what the check program reports.
#pragma once

#include "HeapString.h"

void AppendDecimal(unsigned long number, CHeapString& text);

// Windows' own description of the error, and its code: "Access is denied (error 5)".
void AppendErrorText(unsigned long code, CHeapString& text);

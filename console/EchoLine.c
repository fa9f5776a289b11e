/* C, not C++, and MinGW's printf replacement turned off: the C++ standard headers switch it on
   for every file, and it would make the program a third larger for three lines of output. */
#define __USE_MINGW_ANSI_STDIO 0

#include "EchoLine.h"

#include <stdio.h>

void PrintEchoLine(const char* format, const char* value)
{
    printf(format, value);
}

// One echo line, printed through the system C library's own printf.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// format holds one %s, for value, and ends in a newline.
void PrintEchoLine(const char* format, const char* value);

#ifdef __cplusplus
}
#endif

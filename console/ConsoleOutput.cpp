#include "ConsoleOutput.h"

#include "WideText.h"

#include <windows.h>

#include <cstdio>

namespace {

// Standard output when it is a console, null when it goes to a pipe or a file.
HANDLE ConsoleOutput()
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(output, &mode) ? output : nullptr;
}

// False when the console took none of it (Windows 7 and older refuse very long writes, say).
bool WriteToConsole(HANDLE console, const CWideText& text)
{
    // What the C library still holds goes first, so that the lines keep their order.
    std::fflush(stdout);
    DWORD written = 0;
    return WriteConsoleW(console, text, static_cast<DWORD>(text.GetLength()), &written, nullptr) !=
           FALSE;
}

} // namespace

void PrintUserText(const char* text)
{
    const HANDLE console = ConsoleOutput();
    const CWideText wide(text);
    if (console != nullptr && WriteToConsole(console, wide))
        return;
    if (GetACP() == CP_UTF8) {
        std::fputs(text, stdout);
        return;
    }
    // The bytes of a legacy code page; no look-alikes, which would show a value other than the one
    // stored.
    CHeapString bytes;
    ToCodePage(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, bytes);
    std::fputs(bytes.GetText(), stdout);
}

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

// How many characters the console took: all of them, or fewer when it refused the rest (Windows 7
// and older refuse very long writes, say).
size_t WriteToConsole(HANDLE console, const CWideText& text)
{
    // What the C library still holds goes first, so that the lines keep their order.
    std::fflush(stdout);
    size_t taken = 0;
    while (taken < text.GetLength()) {
        const DWORD rest = static_cast<DWORD>(text.GetLength() - taken);
        DWORD written = 0;
        if (!WriteConsoleW(console, text.GetText() + taken, rest, &written, nullptr) || written == 0)
            break;
        taken += written;
    }
    return taken;
}

} // namespace

void PrintUserText(const char* text)
{
    const HANDLE console = ConsoleOutput();
    const CWideText wide(text);
    const size_t taken = console != nullptr ? WriteToConsole(console, wide) : 0;
    if (console != nullptr && taken == wide.GetLength())
        return;
    // The rest as the active code page's bytes; on a legacy code page without look-alikes, which
    // would show a value other than the one stored.
    const bool utf8 = GetACP() == CP_UTF8;
    CHeapString bytes;
    ToCodePage(utf8 ? CP_UTF8 : CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide.GetText() + taken,
               bytes);
    std::fputs(bytes.GetText(), stdout);
}

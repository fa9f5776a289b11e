#include "ConsoleOutput.h"

#include "AnsiText.h"
#include "OutOfMemory.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Standard output when it is a console, null when it goes to a pipe or a file.
HANDLE ConsoleOutput()
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return GetConsoleMode(output, &mode) ? output : nullptr;
}

// False when the console took none of it (Windows 7 and older refuse very long writes, say).
bool WriteToConsole(HANDLE console, const wchar_t* text, size_t length)
{
    // What the C library still holds goes first, so that the lines keep their order.
    std::fflush(stdout);
    DWORD written = 0;
    return WriteConsoleW(console, text, static_cast<DWORD>(length), &written, nullptr) != FALSE;
}

} // namespace

void PrintUserText(const char* text)
{
    const HANDLE console = ConsoleOutput();
    const int size = console != nullptr ? MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0) : 0;
    if (size > 0) {
        wchar_t* wide =
            static_cast<wchar_t*>(AllocateOrStop(static_cast<size_t>(size), sizeof(wchar_t)));
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size);
        const bool written = WriteToConsole(console, wide, static_cast<size_t>(size - 1));
        std::free(wide);
        if (written)
            return;
    }
    std::fputs(text, stdout);
}

void PrintUserText(const wchar_t* text)
{
    const HANDLE console = ConsoleOutput();
    if (console != nullptr && WriteToConsole(console, text, static_cast<size_t>(lstrlenW(text))))
        return;
    CHeapString bytes;
    ToActiveCodePage(text, bytes);
    std::fputs(bytes.GetText(), stdout);
}

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

void WriteToConsole(HANDLE console, const wchar_t* text, size_t length)
{
    // What the C library still holds goes first, so that the lines keep their order.
    std::fflush(stdout);
    DWORD written = 0;
    WriteConsoleW(console, text, static_cast<DWORD>(length), &written, nullptr);
}

} // namespace

void PrintUserText(const char* text)
{
    const HANDLE console = ConsoleOutput();
    if (console == nullptr) {
        std::fputs(text, stdout);
        return;
    }
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 0)
        return;
    wchar_t* wide = static_cast<wchar_t*>(AllocateOrStop(static_cast<size_t>(size), sizeof(wchar_t)));
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size);
    WriteToConsole(console, wide, static_cast<size_t>(size - 1));
    std::free(wide);
}

void PrintUserText(const wchar_t* text)
{
    const HANDLE console = ConsoleOutput();
    if (console != nullptr) {
        WriteToConsole(console, text, static_cast<size_t>(lstrlenW(text)));
        return;
    }
    CHeapString bytes;
    ToActiveCodePage(text, bytes);
    std::fputs(bytes.GetText(), stdout);
}

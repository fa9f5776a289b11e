// Opens the desktop of a Wine test session as the session starts and holds it until the session's
// wineserver ends: Wine starts the desktop's process for the first program that needs it, that
// process keeps the program's standard error, and it closes only once no program uses the desktop.
// Started by a test program, it would keep the pipe that the test runner, or a test reading the
// program's output, waits on for as long as any test shows a window.
#include <windows.h>

#include <cstdio>

int main()
{
    GetDesktopWindow();
    std::puts("ready");
    std::fflush(stdout);
    Sleep(INFINITE);
}

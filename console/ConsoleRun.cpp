#include "ConsoleRun.h"

#include "ConsoleOutput.h"
#include "WideText.h"
#include "WinlogonSettings.h"

#include <windows.h>

#include <cstdio>

namespace {

// label is as wide as the others, so that the values line up.
void PrintEchoLine(const char* label, const char* value)
{
    CHeapString line(label);
    line.Append(value);
    line.Append("\n");
    PrintUserText(line.GetText());
}

} // namespace

void PrintBanner()
{
    std::puts("Tollvey - April 2002");
    std::puts("The Tollvey developers");
    std::puts("https://tollvey.example/\n");
}

bool ApplySettings(const CConsoleCmdLine& cmdLine)
{
    CWinlogonSettings settings;
    bool written = true;
    if (cmdLine.m_userName.IsGiven()) {
        written &= settings.SetUserName(cmdLine.m_userName.GetValue());
        PrintEchoLine("Username:    ", cmdLine.m_userName.GetValue());
    }
    if (cmdLine.m_password.IsGiven()) {
        written &= settings.SetPassword(cmdLine.m_password.GetValue());
        PrintEchoLine("Password:    ", cmdLine.m_password.GetValue());
    }
    if (cmdLine.m_domain.IsGiven()) {
        written &= settings.SetDomain(cmdLine.m_domain.GetValue());
        PrintEchoLine("Domain Name: ", cmdLine.m_domain.GetValue());
    }
    const bool reloaded = settings.SetReload(cmdLine.m_reload.GetValue());
    // A command too long to register is no missing right: the values above are written.
    const bool tooLong = !reloaded && settings.IsReloadCommandTooLong();
    if (!written || (!reloaded && !tooLong)) {
        std::puts("Couldn't modify the Windows NT Registry.");
        std::puts("You must have the administrator privileges.");
    }
    if (tooLong)
        std::puts("The start-up command would be longer than the 260 characters Windows runs, "
                  "and was not registered.");
    return written && reloaded;
}

void PrintUsage(CConsoleCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("");
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

void PrintUnconvertible(const wchar_t* argument)
{
    // Shown with a stand-in for the half pair, as no UTF-8 text can hold it.
    CHeapString line("Invalid argument: ");
    CHeapString shown;
    ToCodePage(CP_UTF8, 0, argument, shown);
    line.Append(shown);
    line.Append(" (not valid Unicode: half of a surrogate pair)\n\n");
    PrintUserText(line.GetText());
}

#include "ConsoleRun.h"

#include "ConsoleOutput.h"
#include "WideText.h"
#include "WinlogonSettings.h"

#include <windows.h>

#include <cstdio>

namespace {

// label is as wide as the others, so that the values line up. Nothing for a value not given.
void PrintEchoLine(const char* label, const char* value)
{
    if (value == nullptr)
        return;
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
    const CWinlogonChange change = {
        cmdLine.m_userName.GetGivenValue(), cmdLine.m_password.GetGivenValue(),
        cmdLine.m_domain.GetGivenValue(),
        CWinlogonChange::ReloadOf(cmdLine.m_reload.GetValue())};
    CWinlogonSettings settings;
    const CWinlogonResult result = settings.Apply(change);
    PrintEchoLine("Username:    ", change.m_userName);
    PrintEchoLine("Password:    ", change.m_password);
    PrintEchoLine("Domain Name: ", change.m_domain);
    if (result.HasFailed()) {
        std::puts("Couldn't modify the Windows NT Registry.");
        std::puts("You must have the administrator privileges.");
    }
    // A command too long to register is no missing right, and is told as what it is.
    if (result.m_reload == CWinlogonResult::commandTooLong)
        std::puts("The start-up command would be longer than the 260 characters Windows runs, "
                  "and was not registered.");
    return result.IsDone();
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

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
    // Windows' reasons come in the system's language.
    CHeapString failure;
    result.AppendFailureText(failure);
    PrintUserText(failure.GetText());
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

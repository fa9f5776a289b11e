#include "ConsoleRun.h"

#include "ConsoleOutput.h"
#include "WinlogonSettings.h"

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
    written &= settings.SetReload(cmdLine.m_reload.GetValue());
    if (!written) {
        std::puts("Couldn't modify the Windows NT Registry.");
        std::puts("You must have the administrator privileges.");
    }
    return written;
}

void PrintUsage(CConsoleCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("");
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

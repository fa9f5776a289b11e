#include "ConsoleRun.h"

#include "EchoLine.h"
#include "WinlogonSettings.h"

#include <cstdio>

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
        PrintEchoLine("Username:    %s\n", cmdLine.m_userName.GetValue());
    }
    if (cmdLine.m_password.IsGiven()) {
        written &= settings.SetPassword(cmdLine.m_password.GetValue());
        PrintEchoLine("Password:    %s\n", cmdLine.m_password.GetValue());
    }
    if (cmdLine.m_domain.IsGiven()) {
        written &= settings.SetDomain(cmdLine.m_domain.GetValue());
        PrintEchoLine("Domain Name: %s\n", cmdLine.m_domain.GetValue());
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
    std::puts(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

#include "CheckRun.h"

#include "ConsoleOutput.h"
#include "JsonReport.h"
#include "Judgement.h"
#include "LogonReader.h"

#include <cstdio>

unsigned RunCheck(bool logon, bool json)
{
    CLogonState state;
    ReadLogonState(state);
    if (logon)
        TryLogon(state);
    state.password.text.Wipe();
    CFindings findings;
    const unsigned status = Judge(state, findings);
    CHeapString report;
    if (json) {
        AppendJson(findings, status, report);
        // UTF-8 bytes whatever the console's code page: a program reads them.
        std::fputs(report.GetText(), stdout);
    } else {
        AppendReport(findings, status, report);
        // Names of accounts and domains are as the registry holds them, in any language.
        PrintUserText(report.GetText());
    }
    return status;
}

void PrintUsage(CCheckCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

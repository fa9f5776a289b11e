#include "CheckRun.h"

#include "ConsoleOutput.h"
#include "Judgement.h"
#include "LogonReader.h"

#include <cstdio>

unsigned RunCheck()
{
    CLogonState state;
    ReadLogonState(state);
    CFindings findings;
    const unsigned status = Judge(state, findings);
    state.password.text.Wipe();
    CHeapString report;
    AppendReport(findings, status, report);
    // Names of accounts and domains are as the registry holds them, in any language.
    PrintUserText(report.GetText());
    return status;
}

void PrintUsage(CCheckCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

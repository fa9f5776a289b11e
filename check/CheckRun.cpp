#include "CheckRun.h"

#include "ExitStatus.h"
#include "ConsoleOutput.h"
#include "Findings.h"
#include "LogonState.h"
#include "WinlogonKeys.h"

#include <cstdio>

namespace {

void PrintFinding(const CFinding& finding)
{
    static const char* const marks[] = {"ok    ", "STOP  ", "?     ", "note  "};
    CHeapString line(marks[finding.kind]);
    line.Append(finding.text);
    line.Append("\n");
    // Names of accounts and domains are as the registry holds them, in any language.
    PrintUserText(line.GetText());
}

} // namespace

int RunCheck()
{
    CLogonState state;
    ReadLogonState(state);
    if (!state.winlogonRead) {
        CHeapString line("?     the Winlogon key HKEY_LOCAL_MACHINE\\");
        line.Append(winlogonPath);
        line.Append(" could not be read: ");
        line.Append(state.winlogonReason);
        line.Append("\n");
        PrintUserText(line.GetText());
        std::puts("\nNothing was checked.");
        return exitNotChecked;
    }
    CFindings findings;
    Evaluate(state, findings);
    for (const CFinding& finding : findings)
        PrintFinding(finding);
    if (AnyStops(findings)) {
        std::puts("\nWindows will not log on by itself at the next start-up: see STOP above.");
        return exitStopped;
    }
    std::puts(
        "\nWindows will log on by itself at the next start-up, as far as this program can tell.");
    return exitWillLogOn;
}

void PrintUsage(CCheckCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

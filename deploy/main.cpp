#include "DeployCmdLine.h"
#include "DeployRun.h"
#include "ConsoleOutput.h"
#include "ExecutablePath.h"
#include "ExitStatus.h"
#include "Utf8Arguments.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    // As in the other programs: what it prints goes out in one piece at exit.
    std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
    const CUtf8Arguments arguments(argc, argv);
    CDeployCmdLine cmdLine;
    const bool parsed = arguments.GetFirstUnconvertible() < 0 &&
                        cmdLine.Parse(arguments.GetCount(), arguments.GetVector());
    if (!parsed)
        return static_cast<int>(RefuseArguments(cmdLine));
    if (cmdLine.m_help.GetValue()) {
        PrintUsage(cmdLine);
        return exitRecordedBefore;
    }
    // The file lies beside the program, never in the current folder; off needs none.
    CHeapString folder;
    const CSystemStatus found = GetExecutableDirectory(folder);
    if (!found && !cmdLine.m_off.IsGiven()) {
        CHeapString why("TollveyDeploy cannot tell its own folder, where TollveyDeploy.ini lies: ");
        found.AppendText(why);
        why.Append("\n");
        PrintUserText(why.GetText());
        return exitFileRefused;
    }
    return static_cast<int>(RunDeploy(cmdLine.m_off.IsGiven(), folder.GetText()));
}

#include "DeployCmdLine.h"
#include "DeployRun.h"
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
    if (!parsed || cmdLine.m_help.GetValue()) {
        PrintUsage(cmdLine);
        return parsed ? exitRecordedBefore : exitArgumentRefused;
    }
    return RunDeploy(cmdLine.m_off.IsGiven());
}

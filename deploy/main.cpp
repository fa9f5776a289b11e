#include "DeployCmdLine.h"
#include "DeployRun.h"
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
    // The file lies beside the program; a folder without a UTF-8 name reads as none, and off needs
    // none.
    CHeapString folder;
    static_cast<void>(GetExecutableDirectory(folder));
    return static_cast<int>(RunDeploy(cmdLine.m_off.IsGiven(), folder.GetText()));
}

#include "ConsoleCmdLine.h"
#include "ConsoleRun.h"
#include "ExitStatus.h"
#include "Utf8Arguments.h"

int wmain(int argc, wchar_t** argv)
{
    PrintBanner();
    const CUtf8Arguments arguments(argc, argv);
    CConsoleCmdLine cmdLine;
    const bool parsed = cmdLine.Parse(arguments.GetCount(), arguments.GetVector());
    if (!parsed || cmdLine.m_help.GetValue() || cmdLine.GetTokenCount() == 0) {
        PrintUsage(cmdLine);
        return parsed ? exitDone : exitRejected;
    }
    return ApplySettings(cmdLine) ? exitDone : exitWriteFailed;
}

#include "ConsoleCmdLine.h"
#include "ConsoleRun.h"

int main(int argc, char** argv)
{
    PrintBanner();
    CConsoleCmdLine cmdLine;
    const bool parsed = cmdLine.Parse(argc, argv);
    if (!parsed || cmdLine.m_help.GetValue() || cmdLine.GetTokenCount() == 0) {
        PrintUsage(cmdLine);
        return parsed ? exitDone : exitRejected;
    }
    return ApplySettings(cmdLine) ? exitDone : exitWriteFailed;
}

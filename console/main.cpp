#include "AnsiText.h"
#include "ConsoleCmdLine.h"
#include "ConsoleRun.h"
#include "ExitStatus.h"

int main(int argc, char** argv)
{
    PrintBanner();
    CConsoleCmdLine cmdLine;
    // Under a legacy code page, argv holds look-alikes or "?" for what the code page cannot hold;
    // stored, they would log on nobody. Such a command line is refused whole.
    if (const wchar_t* unrepresentable = FindUnrepresentableArgument()) {
        PrintUnrepresentable(unrepresentable, cmdLine);
        return exitRejected;
    }
    const bool parsed = cmdLine.Parse(argc, argv);
    if (!parsed || cmdLine.m_help.GetValue() || cmdLine.GetTokenCount() == 0) {
        PrintUsage(cmdLine);
        return parsed ? exitDone : exitRejected;
    }
    return ApplySettings(cmdLine) ? exitDone : exitWriteFailed;
}

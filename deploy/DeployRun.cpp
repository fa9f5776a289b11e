#include "DeployRun.h"

#include "ConsoleOutput.h"
#include "ExitStatus.h"

#include <cstdio>

unsigned RunDeploy(bool)
{
    std::puts("TollveyDeploy: not built yet");
    return exitDeployWriteFailed;
}

void PrintUsage(CDeployCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

#include "ConsoleCmdLine.h"
#include "ConsoleRun.h"
#include "ExitStatus.h"
#include "Utf8Arguments.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    // The C library leaves output to a character device (the console, NUL) unbuffered, and can
    // then hand Windows one character at a time. The transcript goes out in one piece at exit;
    // text written to the console directly flushes what is held first.
    std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
    PrintBanner();
    const CUtf8Arguments arguments(argc, argv);
    CConsoleCmdLine cmdLine;
    if (arguments.GetFirstUnconvertible() >= 0) {
        PrintUnconvertible(argv[arguments.GetFirstUnconvertible()]);
        PrintUsage(cmdLine);
        return exitRejected;
    }
    const bool parsed = cmdLine.Parse(arguments.GetCount(), arguments.GetVector());
    if (!parsed || cmdLine.m_help.GetValue() || cmdLine.GetTokenCount() == 0) {
        PrintUsage(cmdLine);
        return parsed ? exitDone : exitRejected;
    }
    return ApplySettings(cmdLine) ? exitDone : exitWriteFailed;
}

#include "CheckCmdLine.h"
#include "CheckRun.h"
#include "ExitStatus.h"
#include "Utf8Arguments.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv)
{
    // As in TollveyCmd.exe: the report goes out in one piece at exit; text written to the console
    // directly flushes what is held first.
    std::setvbuf(stdout, nullptr, _IOFBF, BUFSIZ);
    const CUtf8Arguments arguments(argc, argv);
    CCheckCmdLine cmdLine;
    const bool parsed = cmdLine.Parse(arguments.GetCount(), arguments.GetVector());
    if (!parsed || cmdLine.m_help.GetValue()) {
        PrintUsage(cmdLine);
        return parsed ? exitWillLogOn : exitNotChecked;
    }
    return RunCheck(cmdLine.m_logon.GetValue(), cmdLine.m_json.GetValue());
}

// Runs a copy of TollveyCmd.exe from a directory whose path has blanks, with the registry keys
// put back after each test.
#pragma once

#include "ExitStatus.h"
#include "Process.h"
#include "WinlogonFixture.h"

#include <string>

// What every run prints first; lines end in "\r\n" on a pipe.
const std::string banner =
    "Tollvey - April 2002\r\n"
    "The Tollvey developers\r\n"
    "https://tollvey.example/\r\n"
    "\r\n";

const std::string usage =
    "Usage:\r\n"
    "[-u=<string>] [-p=<string>] [-d=<string>] [-r{+|-}] [-?] \r\n"
    "\r\n"
    "-u  username\r\n"
    "-p  password\r\n"
    "-d  domain name\r\n"
    "-r  reload on every startup (default is on)\r\n"
    "-?  help\r\n"
    "\r\n";

const std::string failureLines =
    "Couldn't modify the Windows NT Registry.\r\n"
    "You must have the administrator privileges.\r\n";

class CConsoleFixture : public CWinlogonFixture
{
protected:
    void SetUp() override
    {
        CWinlogonFixture::SetUp();
        m_directory = MakeScratchDirectory("Tollvey console test");
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_CMD_UNIX_PATH), m_directory + "TollveyCmd.exe"));
    }
    void TearDown() override { RemoveTree(m_directory); }

    // arguments as typed after the program name, quoting included.
    CProcessResult Run(const std::string& arguments) const
    {
        std::string command = "\"" + m_directory + "TollveyCmd.exe\"";
        if (!arguments.empty())
            command += " " + arguments;
        return RunProcess(command);
    }

    std::string m_directory;
};

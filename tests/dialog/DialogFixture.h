// Runs the shipped programs from one directory of their own, as they are shipped. The registry is
// reset and put back as for every test of the store.
#pragma once

#include "DialogProcess.h"
#include "ExitStatus.h"
#include "WinlogonFixture.h"

#include <gtest/gtest.h>

#include <string>

class CDialogFixture : public CWinlogonFixture
{
protected:
    static const DWORD exitTimeoutMs = 20000;

    static void SetUpTestSuite();

    // The stored values every test starts from; the start-up entry only when entry is given.
    static void Store(const std::string& userName, const std::string& password, const std::string& domain,
                      const char* entry);

    static std::string DialogExe() { return s_directory + "Tollvey.exe"; }
    static std::string ConsoleExe() { return s_directory + "TollveyCmd.exe"; }
    static const std::string& Directory() { return s_directory; }

    // Checks that the run opened the settings dialog showing the stored values, closes it by its
    // close box's message and checks that the program then ends with status 0.
    static void ExpectDialogThenClose(CDialogProcess& run, const std::string& userName,
                                      const std::string& password, const std::string& domain);

private:
    static std::string s_directory;
};

// A gtest case name made of a table row's description.
std::string CaseName(const char* description);

// One argument quoted by the rules the C runtime splits a command line with.
std::string QuotedArgument(const std::string& argument);

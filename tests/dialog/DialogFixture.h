// Runs the shipped programs from one directory of their own, as they are shipped, and puts the
// Winlogon and RunOnce keys back as they were after each test.
#pragma once

#include "DialogProcess.h"
#include "RegistryState.h"

#include <gtest/gtest.h>

#include <string>

class CDialogFixture : public ::testing::Test
{
protected:
    static const DWORD exitTimeoutMs = 20000;

    CDialogFixture() : m_snapshot({winlogonKeyPath, runOnceKeyPath}) {}

    static void SetUpTestSuite();

    // The stored values every test starts from; the start-up entry only when entry is given.
    static void Store(const std::string& userName, const std::string& password, const std::string& domain,
                      const char* entry);

    // The value's text without its terminator, "<missing>" when it is not there.
    static std::string Winlogon(const char* name);
    static std::string Entry();

    static std::string DialogExe() { return s_directory + "Tollvey.exe"; }
    static std::string ConsoleExe() { return s_directory + "TollveyCmd.exe"; }
    static const std::string& Directory() { return s_directory; }

    // Checks that the run opened the settings dialog showing the stored values, closes it by its
    // close box's message and checks that the program then ends with status 0.
    static void ExpectDialogThenClose(CDialogProcess& run, const std::string& userName,
                                      const std::string& password, const std::string& domain);

private:
    static std::string s_directory;
    CRegistrySnapshot m_snapshot;
};

// A gtest case name made of a table row's description.
std::string CaseName(const char* description);

// One argument quoted by the rules the C runtime splits a command line with.
std::string QuotedArgument(const std::string& argument);

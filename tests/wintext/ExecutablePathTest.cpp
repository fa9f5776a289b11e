#include "ExecutablePath.h"
#include "ProbeOutput.h"
#include "Process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TakeDirectory, KeepsEverythingUpToTheLastSeparator)
{
    struct Case
    {
        const char* label;
        const char* path;
        const char* directory;
    };
    const Case cases[] = {
        {"directory", "C:\\Tools\\Tollvey.exe", "C:\\Tools\\"},
        {"drive root", "C:\\Tollvey.exe", "C:\\"},
        {"slashes", "C:/Tools/bin/Tollvey.exe", "C:/Tools/bin/"},
        {"mixed, slash last", "C:\\a/b.exe", "C:\\a/"},
        {"no separator", "Tollvey.exe", ""},
        {"empty", "", ""},
        {"every language", "C:\\Tøllvey Ωπ\\ソ表\\Tollvey.exe", "C:\\Tøllvey Ωπ\\ソ表\\"},
    };
    for (const Case& c : cases) {
        CHeapString directory("stale");
        TakeDirectory(c.path, directory);
        EXPECT_STREQ(directory.GetText(), c.directory) << c.label;
    }
}

class ExecutablePathTest : public ::testing::Test
{
protected:
    void TearDown() override { RemoveTree(m_root); }

    // Copies the probe to directory (made with its parents) and runs it there.
    CProbeReport RunProbeIn(const std::string& directory)
    {
        const std::string exe = directory + "probe.exe";
        CProbeReport report;
        EXPECT_TRUE(MakeDirectories(directory)) << directory;
        EXPECT_TRUE(CopyInto(WindowsPath(TOLLVEY_PROBE_UNIX_PATH), exe)) << exe;
        const CProcessResult run = RunProcess("\"" + exe + "\"");
        EXPECT_TRUE(run.started) << run.errors;
        EXPECT_TRUE(ParseProbeOutput(run.output, report)) << run.output;
        return report;
    }

    std::string m_root = MakeScratchDirectory("Tollvey path test");
};

TEST_F(ExecutablePathTest, NamesTheRunningFile)
{
    struct Case
    {
        const char* label;
        std::string directory;
    };
    const Case cases[] = {
        {"blanks in the path", m_root + "with blanks\\"},
        {"several levels", m_root + "a\\b c\\d\\"},
        {"every language", m_root + "Tøllvey Дмитрий 山田 😀\\"},
    };
    for (const Case& c : cases) {
        const CProbeReport report = RunProbeIn(c.directory);
        EXPECT_EQ(report.path, c.directory + "probe.exe") << c.label;
        EXPECT_EQ(report.directory, c.directory) << c.label;
    }
}

} // namespace

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
        unsigned codePage;
        const char* directory;
    };
    const Case cases[] = {
        {"directory", "C:\\Tools\\Tollvey.exe", CP_ACP, "C:\\Tools\\"},
        {"drive root", "C:\\Tollvey.exe", CP_ACP, "C:\\"},
        {"slashes", "C:/Tools/bin/Tollvey.exe", CP_ACP, "C:/Tools/bin/"},
        {"mixed, slash last", "C:\\a/b.exe", CP_ACP, "C:\\a/"},
        {"no separator", "Tollvey.exe", CP_ACP, ""},
        {"empty", "", CP_ACP, ""},
        // In code page 932, 0x95 0x5C is one character whose second byte looks like a backslash.
        {"double-byte character ending in 0x5C", "C:\\dir\x95\x5Cname.exe", 932, "C:\\"},
        {"double-byte character before a separator", "C:\\\x95\x5C\\x.exe", 932, "C:\\\x95\x5C\\"},
        {"lead byte at the very end", "C:\\a\\b\x95", 932, "C:\\a\\"},
        {"same bytes in a single-byte code page", "C:\\dir\x95\x5Cname.exe", 1252, "C:\\dir\x95\x5C"},
    };
    for (const Case& c : cases) {
        CHeapString directory("stale");
        TakeDirectory(c.path, directory, c.codePage);
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
    };
    for (const Case& c : cases) {
        const CProbeReport report = RunProbeIn(c.directory);
        EXPECT_EQ(report.path, c.directory + "probe.exe") << c.label;
        EXPECT_EQ(report.directory, c.directory) << c.label;
    }
}

} // namespace

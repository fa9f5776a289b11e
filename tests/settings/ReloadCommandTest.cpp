#include "DialogCmdLine.h"
#include "ProbeOutput.h"
#include "Process.h"
#include "ReloadCommand.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CommandCase
{
    const char* label;
    const char* directory;
    const char* userName;
    const char* password;
    const char* domain;
    const char* command;
};

TEST(ReloadCommand, IsBuiltFromDirectoryAndQuotedValues)
{
    const CommandCase cases[] = {
        {"the documented example", "C:\\Tools\\", "admin", "", "OFFICE",
         "C:\\Tools\\Tollvey.exe -u=admin -dOFFICE"},
        {"password between user and domain", "C:\\Tools\\", "admin", "pw", "OFFICE",
         "C:\\Tools\\Tollvey.exe -u=admin -p=pw -dOFFICE"},
        {"no values", "C:\\Tools\\", "", "", "", "C:\\Tools\\Tollvey.exe"},
        {"drive root", "C:\\", "a", "", "", "C:\\Tollvey.exe -u=a"},
        {"blank in the path", "C:\\Program Files\\Tollvey\\", "a", "", "",
         "\"C:\\Program Files\\Tollvey\\Tollvey.exe\" -u=a"},
        {"tab in the path", "C:\\a\tb\\", "", "", "", "\"C:\\a\tb\\Tollvey.exe\""},
        {"blank in a value", "C:\\", "John Smith", "", "", "C:\\Tollvey.exe \"-u=John Smith\""},
        {"newline and vertical tab", "C:\\", "a\nb", "c\vd", "", "C:\\Tollvey.exe \"-u=a\nb\" \"-p=c\vd\""},
        {"quote", "C:\\", "", "a\"b", "", "C:\\Tollvey.exe \"-p=a\\\"b\""},
        {"backslash before a quote", "C:\\", "", "a\\\"b", "",
         "C:\\Tollvey.exe \"-p=a\\\\\\\"b\""},
        {"backslashes at the end of a quoted value", "C:\\", "", "a b\\\\", "",
         "C:\\Tollvey.exe \"-p=a b\\\\\\\\\""},
        {"backslashes elsewhere stay single", "C:\\", "DOM\\a b", "", "",
         "C:\\Tollvey.exe \"-u=DOM\\a b\""},
        {"trailing backslash needing no quotes", "C:\\", "", "ab\\", "", "C:\\Tollvey.exe -p=ab\\"},
        {"user name starting with =", "C:\\", "=x", "", "", "C:\\Tollvey.exe -u==x"},
        {"domain starting with =", "C:\\", "", "", "=corp", "C:\\Tollvey.exe -d==corp"},
        {"domain starting with :", "C:\\", "", "", ":corp", "C:\\Tollvey.exe -d=:corp"},
        {"domain with = inside", "C:\\", "", "", "a=b", "C:\\Tollvey.exe -da=b"},
        {"domain with a blank", "C:\\", "", "", "my domain", "C:\\Tollvey.exe \"-dmy domain\""},
        {"every language, unquoted", "C:\\Tøllvey\\", "Дмитрий", "Ωmega", "山田",
         "C:\\Tøllvey\\Tollvey.exe -u=Дмитрий -p=Ωmega -d山田"},
        {"every language in a quoted value", "C:\\", "", "ソ 表\"𝒜\\", "",
         "C:\\Tollvey.exe \"-p=ソ 表\\\"𝒜\\\\\""},
        {"every language in a quoted path", "C:\\Ωπ 山\\", "", "", "", "\"C:\\Ωπ 山\\Tollvey.exe\""},
    };
    for (const CommandCase& c : cases) {
        CHeapString command("stale");
        BuildReloadCommand(c.directory, c.userName, c.password, c.domain, command);
        EXPECT_STREQ(command.GetText(), c.command) << c.label;
    }
}

// The command runs for real: the probe, copied under the dialog program's name into a directory
// with a blank and characters outside ASCII, reports the arguments that the C runtime split from it.
class ReloadCommandRoundTrip : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_directory = MakeScratchDirectory("Tollvey round trip Ωπ 山");
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_PROBE_UNIX_PATH), m_directory + "Tollvey.exe"));
    }
    void TearDown() override { RemoveTree(m_directory); }

    std::string m_directory;
};

TEST_F(ReloadCommandRoundTrip, BringsBackTheSameValues)
{
    struct Case
    {
        const char* label;
        const char* userName;
        const char* password;
        const char* domain;
    };
    const Case cases[] = {
        {"plain", "alice", "secret", "WORKGROUP"},
        {"blanks and tabs", "John Smith", "two  blanks\tand tab", "my domain"},
        {"quotes", "\"quoted\"", "a\"b", "\""},
        {"backslashes before quotes", "a\\\"b", "\\\\\"", "x\\\\\\\"y"},
        {"backslashes at the end", "a b\\", "ab\\\\", "c d\\\\\\"},
        {"separators first", "=x", ":y", "=corp"},
        {"colon-first domain", "u", "p", ":corp"},
        {"wildcards stay literal", "*", "p?ss", "*.*"},
        {"empty password left out", "alice", "", "D"},
        {"every language", "José Дмитрий", "Ωmega \"𝒜😀\" ソ\\", "山田 ドメイン\\"},
    };
    for (const Case& c : cases) {
        CHeapString command;
        BuildReloadCommand(m_directory.c_str(), c.userName, c.password, c.domain, command);
        const CProcessResult run = RunProcess(command.GetText());
        ASSERT_TRUE(run.started) << c.label << ": " << command.GetText();
        CProbeReport report;
        ASSERT_TRUE(ParseProbeOutput(run.output, report)) << c.label;
        EXPECT_EQ(report.path, m_directory + "Tollvey.exe") << c.label << ": the right program runs";

        std::vector<const char*> argv = {"Tollvey.exe"};
        for (const std::string& argument : report.arguments)
            argv.push_back(argument.c_str());
        CDialogCmdLine cmdLine;
        ASSERT_TRUE(cmdLine.Parse(static_cast<int>(argv.size()), argv.data()))
            << c.label << ": " << command.GetText();
        EXPECT_STREQ(cmdLine.m_userName.GetValue(), c.userName) << c.label;
        EXPECT_STREQ(cmdLine.m_password.GetValue(), c.password) << c.label;
        EXPECT_EQ(cmdLine.m_password.IsGiven(), c.password[0] != '\0') << c.label;
        EXPECT_STREQ(cmdLine.m_domain.GetValue(), c.domain) << c.label;
        EXPECT_FALSE(cmdLine.m_reload.IsGiven()) << c.label << ": the command holds no reload switch";
    }
}

} // namespace

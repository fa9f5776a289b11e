// The next start-up as Windows runs it: the RunOnce command is taken out of the key and started
// exactly as it is stored. The values come back and the entry is not written again.
#include "DialogFixture.h"

#include "Process.h"

namespace {

struct CValues
{
    const char* name;
    std::string userName;
    std::string password;
    std::string domain;
};

const CValues valueCases[] = {
    {"plain", "alice", "secret", "OFFICE"},
    {"blanks", "Alice Smith", "pass word  twice", "MY DOMAIN"},
    {"quotes", "al\"ice", "\"quoted\"", "D\"\""},
    {"backslashes", "OFFICE\\alice", "ends in \\", "\\\\server\\share\\"},
    {"backslash before a quote", "a\\\"b", "\\\"", "x\\\\\"y"},
    {"separator first", "=alice", ":secret", "=OFFICE"},
    {"user name only", "alice", "", ""},
    {"domain only", "", "", "OFFICE"},
};

const char* const changed = "changed since";

class CNextStartupTest : public CDialogFixture, public ::testing::WithParamInterface<CValues>
{
protected:
    // TollveyCmd.exe writes the values and registers the start-up entry.
    void Register(const CValues& values)
    {
        const std::string commandLine = QuotedArgument(ConsoleExe()) + " " +
                                        QuotedArgument("-u=" + values.userName) + " " +
                                        QuotedArgument("-p=" + values.password) + " " +
                                        QuotedArgument("-d=" + values.domain);
        const CProcessResult registered = RunProcess(commandLine);
        ASSERT_TRUE(registered.started) << "TollveyCmd.exe starts";
        ASSERT_EQ(registered.exitCode, exitDone) << "TollveyCmd.exe output:\n" << registered.output;
    }

    // Windows removes a RunOnce entry before it runs its command.
    std::string TakeEntry()
    {
        const std::string command = Entry();
        RemoveValue(runOncePath, "Tollvey", KEY_WOW64_64KEY);
        return command;
    }
};

TEST_P(CNextStartupTest, WritesTheValuesAgainSilently)
{
    const CValues& values = GetParam();
    Store("", "", "", nullptr);
    ASSERT_NO_FATAL_FAILURE(Register(values));
    const std::string command = TakeEntry();
    ASSERT_NE(command, "<missing>") << "TollveyCmd.exe registered the start-up entry";
    Store(changed, changed, changed, nullptr);
    WriteText(winlogonPath, "AutoAdminLogon", changed, KEY_WOW64_64KEY);

    CDialogProcess run(command);
    ASSERT_TRUE(run.IsStarted()) << "the stored command starts: " << command;
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "silent run ends by itself: " << command;
    EXPECT_EQ(exitCode, exitDone) << "exit status of " << command;

    // Empty values are left out of the command, so they keep what was stored since.
    auto expected = [](const std::string& value) { return value.empty() ? changed : value; };
    EXPECT_EQ(Winlogon("DefaultUserName"), expected(values.userName)) << command;
    EXPECT_EQ(Winlogon("DefaultPassword"), expected(values.password)) << command;
    EXPECT_EQ(Winlogon("DefaultDomainName"), expected(values.domain)) << command;
    EXPECT_EQ(Winlogon("AutoAdminLogon"), values.userName.empty() ? changed : "1") << command;
    EXPECT_EQ(Entry(), "<missing>") << "the start-up entry is not written again by " << command;
}

INSTANTIATE_TEST_SUITE_P(Values, CNextStartupTest, ::testing::ValuesIn(valueCases),
                         [](const auto& info) { return CaseName(info.param.name); });

class CNextStartupEmptyTest : public CNextStartupTest
{
};

TEST_F(CNextStartupEmptyTest, CommandWithoutArgumentsOpensTheDialog)
{
    Store("", "", "", nullptr);
    ASSERT_NO_FATAL_FAILURE(Register({"all empty", "", "", ""}));
    const std::string command = TakeEntry();
    EXPECT_EQ(command, DialogExe()) << "the command is the program alone";
    Store("stored-user", "stored-pass", "STORED", nullptr);
    const auto before = ReadAllValues(winlogonPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(before) << "Winlogon values before";

    CDialogProcess run(command);
    ExpectDialogThenClose(run, "stored-user", "stored-pass", "STORED");
    EXPECT_EQ(ReadAllValues(winlogonPath, KEY_WOW64_64KEY), before) << "Winlogon values untouched";
    EXPECT_EQ(Entry(), "<missing>") << "no start-up entry written";
}

} // namespace

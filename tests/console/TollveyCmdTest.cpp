#include "ConsoleFixture.h"
#include "ProbeOutput.h"
#include "ReadOnlyKey.h"

#include <vector>

namespace {

// The values every acting run finds stored before it starts.
void StoreOldValues(bool withEntry)
{
    ASSERT_TRUE(WriteText(winlogonPath, "DefaultUserName", "olduser", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(winlogonPath, "DefaultPassword", "oldpw", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(winlogonPath, "DefaultDomainName", "OLDDOM", KEY_WOW64_64KEY));
    if (withEntry) {
        ASSERT_TRUE(WriteText(runOncePath, "Tollvey", "stale", KEY_WOW64_64KEY));
    }
}

class TollveyCmdTest : public CConsoleFixture
{
protected:
    std::string Reload(const std::string& arguments) const
    {
        return "\"" + m_directory + "Tollvey.exe\"" + arguments;
    }
};

TEST_F(TollveyCmdTest, ActingRunsEchoWriteAndRegisterTheReload)
{
    const std::string missing = "<missing>";
    struct Case
    {
        const char* arguments;
        std::string echo;
        std::string autoAdminLogon;
        std::string userName;
        std::string password;
        std::string domain;
        std::string entry; // the command after the quoted path, or missing
    };
    const Case cases[] = {
        {"-u=alice -d=WORKGROUP", "Username:    alice\r\nDomain Name: WORKGROUP\r\n", "1", "alice", "oldpw",
         "WORKGROUP", " -u=alice -p=oldpw -dWORKGROUP"},
        {"-u=alice -p=secret -d=WORKGROUP -r-",
         "Username:    alice\r\nPassword:    secret\r\nDomain Name: WORKGROUP\r\n", "1", "alice", "secret",
         "WORKGROUP", missing},
        {"-?-", "", missing, "olduser", "oldpw", "OLDDOM", " -u=olduser -p=oldpw -dOLDDOM"},
        {"-r-", "", missing, "olduser", "oldpw", "OLDDOM", missing},
        {"-r", "", missing, "olduser", "oldpw", "OLDDOM", " -u=olduser -p=oldpw -dOLDDOM"},
        {"-r+", "", missing, "olduser", "oldpw", "OLDDOM", " -u=olduser -p=oldpw -dOLDDOM"},
        {"-u=", "Username:    \r\n", "0", "", "oldpw", "OLDDOM", " -p=oldpw -dOLDDOM"},
        {"-u", "Username:    \r\n", "0", "", "oldpw", "OLDDOM", " -p=oldpw -dOLDDOM"},
        {"-U=alice", "Username:    alice\r\n", "1", "alice", "oldpw", "OLDDOM", " -u=alice -p=oldpw -dOLDDOM"},
        {"-username=alice", "Username:    sername=alice\r\n", "1", "sername=alice", "oldpw", "OLDDOM",
         " -u=sername=alice -p=oldpw -dOLDDOM"},
        {"-dWORKGROUP", "Domain Name: WORKGROUP\r\n", missing, "olduser", "oldpw", "WORKGROUP",
         " -u=olduser -p=oldpw -dWORKGROUP"},
        {"/d:WORKGROUP", "Domain Name: WORKGROUP\r\n", missing, "olduser", "oldpw", "WORKGROUP",
         " -u=olduser -p=oldpw -dWORKGROUP"},
        {"-d==corp", "Domain Name: =corp\r\n", missing, "olduser", "oldpw", "=corp",
         " -u=olduser -p=oldpw -d==corp"},
        {"\"-p=two words\" -d=", "Password:    two words\r\nDomain Name: \r\n", missing, "olduser",
         "two words", "", " -u=olduser \"-p=two words\""},
        {"-u=Дмитрий \"-d=山田 ドメイン\"", "Username:    Дмитрий\r\nDomain Name: 山田 ドメイン\r\n", "1", "Дмитрий",
         "oldpw", "山田 ドメイン", " -u=Дмитрий -p=oldpw \"-d山田 ドメイン\""},
    };
    for (const Case& c : cases) {
        ResetValues();
        StoreOldValues(true);
        const CProcessResult run = Run(c.arguments);
        ASSERT_TRUE(run.started) << c.arguments;
        EXPECT_EQ(run.output, banner + c.echo) << "arguments: " << c.arguments;
        EXPECT_EQ(run.errors, "") << "arguments: " << c.arguments;
        EXPECT_EQ(run.exitCode, exitDone) << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon) << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("DefaultUserName"), c.userName) << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("DefaultPassword"), c.password) << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("DefaultDomainName"), c.domain) << "arguments: " << c.arguments;
        EXPECT_EQ(Entry(), c.entry == missing ? missing : Reload(c.entry))
            << "arguments: " << c.arguments;
    }
}

TEST_F(TollveyCmdTest, WineRegSeesTheValuesInTheSixtyFourBitView)
{
    const CProcessResult run = Run("-u=alice \"-p=se cret\" -d=WORKGROUP");
    ASSERT_EQ(run.exitCode, exitDone) << run.output;
    struct Case
    {
        const char* path;
        const char* name;
        std::string shown;
    };
    const Case cases[] = {
        {winlogonPath, "AutoAdminLogon", "REG_SZ    1"},
        {winlogonPath, "DefaultUserName", "REG_SZ    alice"},
        {winlogonPath, "DefaultPassword", "REG_SZ    se cret"},
        {winlogonPath, "DefaultDomainName", "REG_SZ    WORKGROUP"},
        {runOncePath, "Tollvey",
         "REG_SZ    \"" + m_directory + "Tollvey.exe\" -u=alice \"-p=se cret\" -dWORKGROUP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegQueryData(c.path, c.name, "/reg:64").value_or("<not shown>"), c.shown)
            << c.name << " in the 64-bit view";
        EXPECT_EQ(RegQueryData(c.path, c.name, "/reg:32").value_or("<missing>"), Expected32BitView(c.shown))
            << c.name << " in the 32-bit view";
    }
}

TEST_F(TollveyCmdTest, WithoutWriteRightsEveryFailureIsReported)
{
    struct Case
    {
        const char* arguments;
        bool entryBefore;
        std::string output;
        unsigned long exitCode;
    };
    const Case cases[] = {
        {"-u=alice -p=secret", true,
         "Username:    alice\r\nPassword:    secret\r\n" + failureLines, exitWriteFailed},
        {"-u=alice -p=secret -r-", true,
         "Username:    alice\r\nPassword:    secret\r\n" + failureLines, exitWriteFailed},
        {"-u=alice -r-", false, "Username:    alice\r\n" + failureLines, exitWriteFailed},
        {"-r-", true, failureLines, exitWriteFailed},
        {"-r-", false, "", exitDone},
        {"-r", false, failureLines, exitWriteFailed},
    };
    for (const Case& c : cases) {
        ResetValues();
        StoreOldValues(c.entryBefore);
        const std::string entryBefore = Entry();
        CReadOnlyKey winlogon(winlogonPath, KEY_WOW64_64KEY);
        CReadOnlyKey runOnce(runOncePath, KEY_WOW64_64KEY);
        ASSERT_TRUE(winlogon.IsApplied() && runOnce.IsApplied());
        const CProcessResult run = Run(c.arguments);
        EXPECT_EQ(run.output, banner + c.output) << "arguments: " << c.arguments;
        EXPECT_EQ(run.errors, "") << "arguments: " << c.arguments;
        EXPECT_EQ(run.exitCode, c.exitCode) << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("DefaultUserName"), "olduser") << "arguments: " << c.arguments;
        EXPECT_EQ(Winlogon("AutoAdminLogon"), "<missing>") << "arguments: " << c.arguments;
        EXPECT_EQ(Entry(), entryBefore) << "arguments: " << c.arguments;
    }
}

// Whatever removed the RunOnce key, the start-up entry makes it again: no failure to report.
TEST_F(TollveyCmdTest, MissingRunOnceKeyIsMadeForTheEntry)
{
    StoreOldValues(false);
    ASSERT_TRUE(RemoveKey(runOncePath, KEY_WOW64_64KEY));
    const CProcessResult run = Run("-u=kiosk -p=pw2 -d=D");
    EXPECT_EQ(run.output, banner + "Username:    kiosk\r\nPassword:    pw2\r\nDomain Name: D\r\n");
    EXPECT_EQ(run.exitCode, exitDone);
    EXPECT_EQ(Entry(), Reload(" -u=kiosk -p=pw2 -dD"));
}

// Windows takes a start-up command of at most 260 characters, counted in UTF-16 units: "é" is two
// bytes here and one character there. A longer one is a failed write, and says why.
TEST_F(TollveyCmdTest, StartupCommandLongerThanWindowsTakesIsReportedAsAFailedWrite)
{
    const size_t others = Reload(" -u=alice -p= -dOLDDOM").size();
    ASSERT_LT(others, 250u) << "the scratch folder leaves room for a password";
    struct Case
    {
        size_t length;
        std::string failure;
        unsigned long exitCode;
    };
    const Case cases[] = {{260, "", exitDone},
                          {261,
                           "The start-up command would be longer than the 260 characters Windows runs, and was "
                           "not registered.\r\n",
                           exitWriteFailed}};
    for (const Case& c : cases) {
        ResetValues();
        StoreOldValues(true);
        std::string password;
        for (size_t i = others; i < c.length; ++i)
            password += "\xC3\xA9";
        const CProcessResult run = Run("-u=alice -p=" + password);
        EXPECT_EQ(run.output, banner + "Username:    alice\r\nPassword:    " + password + "\r\n" + c.failure)
            << c.length << " characters";
        EXPECT_EQ(run.exitCode, c.exitCode) << c.length << " characters";
        EXPECT_EQ(Winlogon("DefaultPassword"), password) << c.length << " characters";
        EXPECT_EQ(Entry(), c.failure.empty() ? Reload(" -u=alice -p=" + password + " -dOLDDOM") : "<missing>")
            << c.length << " characters";
    }
}

// The entry TollveyCmd registers, run as the next start-up would run it, hands the dialog
// program (here the probe in its place) exactly the values that were given.
TEST_F(TollveyCmdTest, RegisteredCommandBringsBackAwkwardValues)
{
    ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_PROBE_UNIX_PATH), m_directory + "Tollvey.exe"));
    const CProcessResult run =
        Run(R"("-u=John \"JJ\" Smith" "-p=back\slash\\" "-d=:colon first")");
    ASSERT_EQ(run.exitCode, exitDone) << run.output;
    ASSERT_EQ(run.output, banner + "Username:    John \"JJ\" Smith\r\nPassword:    back\\slash\\\r\n"
                                   "Domain Name: :colon first\r\n");
    const std::string entry = Entry();
    const CProcessResult next = RunProcess(entry);
    CProbeReport report;
    ASSERT_TRUE(ParseProbeOutput(next.output, report)) << entry;
    EXPECT_EQ(report.path, m_directory + "Tollvey.exe");
    const std::vector<std::string> expected = {"-u=John \"JJ\" Smith", "-p=back\\slash\\",
                                               "-d=:colon first"};
    EXPECT_EQ(report.arguments, expected) << entry;
}

} // namespace

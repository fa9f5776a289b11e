// Command lines that the dialog program applies without showing anything, and those that open the
// dialog instead with nothing applied.
#include "DialogFixture.h"
#include "ReadOnlyKey.h"

namespace {

const char* const storedEntry = "stored start-up entry";

struct CSilentCase
{
    const char* name;
    const char* arguments;
    bool entryBefore;
    // Expected afterwards.
    const char* autoAdminLogon;
    const char* userName;
    const char* password;
    const char* domain;
    const char* entry; // nullptr: the command built from the expected values
};

const CSilentCase silentCases[] = {
    {"reload off alone", "-r-", true, "1", "stored-user", "stored-pass", "STORED", "<missing>"},
    {"reload off without an entry", "-r-", false, "1", "stored-user", "stored-pass", "STORED", "<missing>"},
    {"reload alone", "-r", false, "1", "stored-user", "stored-pass", "STORED", nullptr},
    {"reload plus", "-r+", true, "1", "stored-user", "stored-pass", "STORED", nullptr},
    {"empty user name with =", "-u=", true, "0", "", "stored-pass", "STORED", storedEntry},
    {"empty user name without =", "-u", true, "0", "", "stored-pass", "STORED", storedEntry},
    {"user name and password", "-u=alice -p=secret", true, "1", "alice", "secret", "STORED", storedEntry},
    {"domain alone", "-dOFFICE", true, "1", "stored-user", "stored-pass", "OFFICE", storedEntry},
    {"reload carries the values just set", "-u=bob -r", false, "1", "bob", "stored-pass", "STORED", nullptr},
};

class CSilentModeTest : public CDialogFixture, public ::testing::WithParamInterface<CSilentCase>
{
};

TEST_P(CSilentModeTest, AppliesExactlyWhatWasGiven)
{
    const CSilentCase& c = GetParam();
    Store("stored-user", "stored-pass", "STORED", c.entryBefore ? storedEntry : nullptr);
    CDialogProcess run(DialogExe() + " " + c.arguments);
    ASSERT_TRUE(run.IsStarted()) << "Tollvey.exe starts";
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "silent run ends by itself";
    EXPECT_EQ(exitCode, exitDone) << "exit status";
    EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon) << "AutoAdminLogon";
    EXPECT_EQ(Winlogon("DefaultUserName"), c.userName) << "DefaultUserName";
    EXPECT_EQ(Winlogon("DefaultPassword"), c.password) << "DefaultPassword";
    EXPECT_EQ(Winlogon("DefaultDomainName"), c.domain) << "DefaultDomainName";
    const std::string command = DialogExe() + " -u=" + c.userName + " -p=" + c.password + " -d" + c.domain;
    EXPECT_EQ(Entry(), c.entry != nullptr ? c.entry : command) << "start-up entry";
}

INSTANTIATE_TEST_SUITE_P(CommandLines, CSilentModeTest, ::testing::ValuesIn(silentCases),
                         [](const auto& info) { return CaseName(info.param.name); });

struct CRejectedCase
{
    const char* name;
    const char* arguments;
};

const CRejectedCase rejectedCases[] = {
    {"no arguments", ""},
    {"help is no argument here", " -?"},
    {"unknown option after a good one", " -u=alice -x"},
    {"repeated option", " -u=alice -u=bob"},
    {"bare word", " alice"},
    {"bare word after a good option", " -p=secret alice"},
    {"toggle value other than + or -", " -rx"},
    {"half of a surrogate pair", " -u=A\xED\xA0\x80" "B"},
};

class CRejectedCommandLineTest : public CDialogFixture, public ::testing::WithParamInterface<CRejectedCase>
{
};

TEST_P(CRejectedCommandLineTest, OpensTheDialogAndAppliesNothing)
{
    Store("stored-user", "stored-pass", "STORED", storedEntry);
    const auto before = ReadAllValues(winlogonPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(before) << "Winlogon values before";
    CDialogProcess run(DialogExe() + GetParam().arguments);
    ExpectDialogThenClose(run, "stored-user", "stored-pass", "STORED");
    EXPECT_EQ(ReadAllValues(winlogonPath, KEY_WOW64_64KEY), before) << "Winlogon values untouched";
    EXPECT_EQ(Entry(), storedEntry) << "start-up entry untouched";
}

INSTANTIATE_TEST_SUITE_P(CommandLines, CRejectedCommandLineTest, ::testing::ValuesIn(rejectedCases),
                         [](const auto& info) { return CaseName(info.param.name); });

struct CFailedWriteCase
{
    const char* name;
    const char* arguments;
    const char* readOnlyKey;
};

const CFailedWriteCase failedWriteCases[] = {
    {"user name", " -u=alice", winlogonPath},
    {"password", " -p=secret", winlogonPath},
    {"domain", " -dOFFICE", winlogonPath},
    {"start-up entry", " -r", runOncePath},
    {"start-up entry removal", " -r-", runOncePath},
};

class CSilentFailureTest : public CDialogFixture, public ::testing::WithParamInterface<CFailedWriteCase>
{
};

TEST_P(CSilentFailureTest, EndsWithStatusOneAndShowsNothing)
{
    const CFailedWriteCase& c = GetParam();
    Store("stored-user", "stored-pass", "STORED", storedEntry);
    CReadOnlyKey readOnly(c.readOnlyKey, KEY_WOW64_64KEY);
    ASSERT_TRUE(readOnly.IsApplied()) << "key made read-only";
    CDialogProcess run(DialogExe() + c.arguments);
    ASSERT_TRUE(run.IsStarted()) << "Tollvey.exe starts";
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "silent run ends by itself, no message shown";
    EXPECT_EQ(exitCode, exitWriteFailed) << "exit status after a failed write";
    EXPECT_EQ(Winlogon("DefaultUserName"), "stored-user") << "DefaultUserName";
    EXPECT_EQ(Winlogon("DefaultPassword"), "stored-pass") << "DefaultPassword";
    EXPECT_EQ(Winlogon("DefaultDomainName"), "STORED") << "DefaultDomainName";
    EXPECT_EQ(Entry(), storedEntry) << "start-up entry";
}

INSTANTIATE_TEST_SUITE_P(Writes, CSilentFailureTest, ::testing::ValuesIn(failedWriteCases),
                         [](const auto& info) { return CaseName(info.param.name); });

} // namespace

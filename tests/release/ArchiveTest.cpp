// Runs one pair of programs as an administrator would get them: unpacked from the release archive
// into a folder whose path has blanks (TOLLVEY_UNPACKED, a Windows path, set by archive-test.sh), the
// 32-bit pair at its top and the 64-bit one in x64 (TOLLVEY_PAIR, x86 or x64).
#include "Process.h"
#include "WinlogonFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Unpacked()
{
    const char* folder = std::getenv("TOLLVEY_UNPACKED");
    return folder ? folder : "";
}

// The folder of the pair under test: the top of the archive, or x64 in it.
std::string PairFolder()
{
    const char* pair = std::getenv("TOLLVEY_PAIR");
    return Unpacked() + (pair && std::string(pair) == "x64" ? "\\x64" : "");
}

class ArchiveTest : public CWinlogonFixture
{
};

} // namespace

TEST_F(ArchiveTest, ConsoleRegistersTheUnpackedDialogProgramAndTheNextStartupReappliesTheValues)
{
    const std::string folder = PairFolder();
    ASSERT_FALSE(Unpacked().empty()) << "TOLLVEY_UNPACKED names the unpacked release";
    ASSERT_NE(folder.find(' '), std::string::npos) << "the folder has a blank in its path";

    const CProcessResult run = RunProcess("\"" + folder + "\\TollveyCmd.exe\" -u=alice \"-p=pa ss\" -d=WORKGROUP");
    ASSERT_TRUE(run.started) << "TollveyCmd.exe from the archive starts";
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    const std::string entry = Entry();
    EXPECT_EQ(entry, "\"" + folder + "\\Tollvey.exe\" -u=alice \"-p=pa ss\" -dWORKGROUP")
        << "the start-up entry names the unpacked Tollvey.exe, quoted";

    // The next start-up: Windows runs the stored command as it stands.
    for (const char* name : storeValueNames)
        RemoveValue(winlogonPath, name, KEY_WOW64_64KEY);
    const CProcessResult startup = RunProcess(entry.c_str());
    ASSERT_TRUE(startup.started) << "the stored command starts: " << entry;
    EXPECT_EQ(startup.exitCode, 0u) << "silent mode reports success";
    EXPECT_EQ(Winlogon("DefaultUserName"), "alice");
    EXPECT_EQ(Winlogon("DefaultPassword"), "pa ss");
    EXPECT_EQ(Winlogon("DefaultDomainName"), "WORKGROUP");
    EXPECT_EQ(Winlogon("AutoAdminLogon"), "1");
    EXPECT_EQ(Entry(), entry) << "the start-up run leaves its entry alone";
}

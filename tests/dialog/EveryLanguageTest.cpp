// Names in every language: both programs store every character exactly, with the UTF-8 code page
// and without it, as systems before Windows 10 version 1903 run them. Values go in through UTF-16
// command lines and controls and come back through RegQueryValueExW, never through the test
// program's own code page.
#include "DialogFixture.h"
#include "Process.h"
#include "Resource.h"

namespace {

const char* const valueNames[] = {"DefaultUserName", "DefaultPassword", "DefaultDomainName"};
const char* const savedText = "Tollvey values saved.";
const char* const changed = "changed since";

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The console program given the value for all three, as an administrator would type it.
CProcessResult RunConsole(const std::string& exe, const std::string& value)
{
    return RunProcess(QuotedArgument(exe) + " " + QuotedArgument("-u=" + value) + " " +
                      QuotedArgument("-p=" + value) + " " + QuotedArgument("-d=" + value));
}

// The next start-up: Windows takes the entry out of RunOnce and runs it as it stands. Every
// value is changed first, so that only what the entry carries can bring them back.
void RunTheEntryAsTheNextStartup(DWORD timeoutMs)
{
    const std::string command = ReadText(runOncePath, "Tollvey", KEY_WOW64_64KEY);
    ASSERT_NE(command, "<missing>") << "a start-up entry was registered";
    RemoveValue(runOncePath, "Tollvey", KEY_WOW64_64KEY);
    for (const char* name : valueNames)
        WriteText(winlogonPath, name, changed, KEY_WOW64_64KEY);
    CDialogProcess run(command);
    ASSERT_TRUE(run.IsStarted()) << "the entry starts: " << command;
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(timeoutMs, exitCode)) << "silent run ends by itself: " << command;
    EXPECT_EQ(exitCode, exitDone) << "exit status of " << command;
}

struct CValue
{
    const char* name;
    std::string text;
};

// Characters 0x835C (ソ) and 0x955C (表) of code page 932 end in the byte of a backslash.
const CValue everyLanguage[] = {
    {"Latin-1", "José Müller"},
    {"Greek", "Ωmega"},
    {"Cyrillic", "Дмитрий"},
    {"CJK", "山田 ドメイン ソ表"},
    {"outside the Basic Multilingual Plane", "𝒜𝓁𝒾𝒸ℯ 😀"},
    {"blanks and double quotes", "Zoë \"Ω\" 表\"x"},
    {"ending in a backslash", "C:\\Tøllvey ソ\\"},
};

// Both programs copied into one folder, as shipped; each suite says which build and which folder.
class CEveryCharacterIsStored : public CDialogFixture, public ::testing::WithParamInterface<CValue>
{
protected:
    virtual const std::string& Folder() const = 0;

    // The console program stores the value as all three, registers the start-up entry in the real
    // folder, and that entry brings the values back at the next start-up.
    void ExpectConsoleToStoreIt(CProcessResult& run)
    {
        const std::string& value = GetParam().text;
        Store("", "", "", nullptr);
        run = RunConsole(Folder() + "TollveyCmd.exe", value);
        ASSERT_TRUE(run.started) << "TollveyCmd.exe starts";
        EXPECT_EQ(run.exitCode, exitDone) << run.output;
        for (const char* name : valueNames)
            EXPECT_EQ(Winlogon(name), value) << name;
        EXPECT_EQ(Entry().rfind(QuotedArgument(Folder() + "Tollvey.exe") + " ", 0), 0u)
            << "the entry names the real folder: " << Entry();

        ASSERT_NO_FATAL_FAILURE(RunTheEntryAsTheNextStartup(exitTimeoutMs));
        for (const char* name : valueNames)
            EXPECT_EQ(Winlogon(name), value) << name << " after the next start-up";
    }

    void ExpectSilentModeToStoreIt()
    {
        const std::string& value = GetParam().text;
        Store("stored-user", "stored-pass", "STORED", nullptr);
        CDialogProcess run(QuotedArgument(Folder() + "Tollvey.exe") + " " + QuotedArgument("-u=" + value) +
                           " " + QuotedArgument("-p=" + value) + " " + QuotedArgument("-d=" + value));
        DWORD exitCode = 99;
        ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "silent run ends by itself";
        EXPECT_EQ(exitCode, exitDone) << "exit status";
        for (const char* name : valueNames)
            EXPECT_EQ(Winlogon(name), value) << name;
        EXPECT_EQ(Entry(), "<missing>") << "no start-up entry without -r";
    }

    // The boxes show the stored value; typed into the domain box it is stored like the others.
    void ExpectDialogToShowAndStoreIt()
    {
        const std::string& value = GetParam().text;
        Store(value, value, "STORED", nullptr);
        WriteText(winlogonPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
        CDialogProcess run(QuotedArgument(Folder() + "Tollvey.exe"));
        HWND dialog = run.WaitForWindow(exitTimeoutMs);
        ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
        EXPECT_EQ(ControlText(dialog, IDC_USERNAME), value) << "user name box";
        EXPECT_EQ(ControlText(dialog, IDC_PASSWORD), value) << "password box";
        EXPECT_EQ(ControlText(dialog, IDC_DOMAIN), "STORED") << "domain box";
        SetControlText(dialog, IDC_DOMAIN, value);

        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        HWND box = run.WaitForWindow(exitTimeoutMs, false);
        ASSERT_NE(box, nullptr) << "a message box follows OK";
        EXPECT_TRUE(HasControl(box, "Static", savedText)) << "the values were saved";
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        DWORD exitCode = 99;
        ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "the program ends with the message box";
        EXPECT_EQ(exitCode, exitDone) << "exit status";
        EXPECT_EQ(Winlogon("AutoAdminLogon"), "1") << "the values were written again";
        for (const char* name : valueNames)
            EXPECT_EQ(Winlogon(name), value) << name;
    }
};

// The programs as built, in a folder whose name no legacy code page holds whole.
class CEveryLanguageTest : public CEveryCharacterIsStored
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeScratchDirectory("Tøllvey Ωπ 山");
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_EXE_UNIX_PATH), s_folder + "Tollvey.exe"));
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEYCMD_EXE_UNIX_PATH), s_folder + "TollveyCmd.exe"));
    }
    const std::string& Folder() const override { return s_folder; }

    static std::string s_folder;
};

std::string CEveryLanguageTest::s_folder;

TEST_P(CEveryLanguageTest, ConsoleStoresItAndTheNextStartupBringsItBack)
{
    CProcessResult run;
    ASSERT_NO_FATAL_FAILURE(ExpectConsoleToStoreIt(run));
    const std::string& value = GetParam().text;
    EXPECT_TRUE(EndsWith(run.output, "Username:    " + value + "\r\nPassword:    " + value +
                                         "\r\nDomain Name: " + value + "\r\n"))
        << "echo in UTF-8, the active code page:\n" << run.output;
}

TEST_P(CEveryLanguageTest, SilentModeStoresIt)
{
    ExpectSilentModeToStoreIt();
}

TEST_P(CEveryLanguageTest, DialogShowsItAndOkStoresIt)
{
    ExpectDialogToShowAndStoreIt();
}

INSTANTIATE_TEST_SUITE_P(Values, CEveryLanguageTest, ::testing::ValuesIn(everyLanguage),
                         [](const auto& info) { return CaseName(info.param.name); });

// The programs with the UTF-8 code page taken out of their manifest, in the test's own code page:
// 1252, or 932 when the test runs under a Japanese locale. There Wine cannot make files with names
// outside ASCII (Linux lacks that locale), so the folder is plain; in 1252 it holds characters
// that the code page cannot.
class CLegacyCodePageTest : public CEveryCharacterIsStored
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeScratchDirectory(GetACP() == 932 ? "Tollvey legacy" : "Tollvey legacy Ωπ 山");
        for (const char* exe : {"Tollvey.exe", "TollveyCmd.exe"})
            ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_LEGACY_UNIX_DIR) + exe, s_folder + exe)) << exe;
    }

    void SetUp() override
    {
        CEveryCharacterIsStored::SetUp();
        ASSERT_TRUE(GetACP() == 1252 || GetACP() == 932) << "code page " << GetACP();
    }

    const std::string& Folder() const override { return s_folder; }

    static std::string s_folder;
};

std::string CLegacyCodePageTest::s_folder;

TEST_P(CLegacyCodePageTest, ConsoleStoresItAndTheNextStartupBringsItBack)
{
    CProcessResult run;
    ExpectConsoleToStoreIt(run);
}

TEST_P(CLegacyCodePageTest, SilentModeStoresIt)
{
    ExpectSilentModeToStoreIt();
}

TEST_P(CLegacyCodePageTest, DialogShowsItAndOkStoresIt)
{
    ExpectDialogToShowAndStoreIt();
}

INSTANTIATE_TEST_SUITE_P(Values, CLegacyCodePageTest, ::testing::ValuesIn(everyLanguage),
                         [](const auto& info) { return CaseName(info.param.name); });

// Redirected, the echo is in the code page: what it cannot show becomes "?" there, and only there.
TEST_F(CLegacyCodePageTest, EchoShowsWhatTheCodePageHoldsAndStoresEverything)
{
    const std::string value = "José Ωmega 山";
    const std::string shown = GetACP() == 932 ? "Jos? \x83\xB6mega \x8E\x52" : "Jos\xE9 ?mega ?";
    const CProcessResult run =
        RunProcess(QuotedArgument(s_folder + "TollveyCmd.exe") + " " + QuotedArgument("-u=" + value) + " -r-");
    EXPECT_EQ(run.exitCode, exitDone) << run.output;
    EXPECT_TRUE(EndsWith(run.output, "\r\n\r\nUsername:    " + shown + "\r\n")) << run.output;
    EXPECT_EQ(Winlogon("DefaultUserName"), value);
}

} // namespace

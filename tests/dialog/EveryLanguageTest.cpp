// Names in every language: the programs store them exactly, or, where the system's code page cannot
// hold them, refuse them and store nothing. Values go in through UTF-16 command lines and controls
// and come back through RegQueryValueExW, never through the test program's own code page.
#include "DialogFixture.h"
#include "Process.h"
#include "Resource.h"

namespace {

const char* const valueNames[] = {"DefaultUserName", "DefaultPassword", "DefaultDomainName"};
const char* const savedText = "Tollvey values saved.";
const char* const domainLostText =
    "The domain holds characters that this system cannot store.\nNothing was saved.";
const char* const userNameLostText =
    "The user name holds characters that this system cannot store.\nNothing was saved.";
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
    const std::string command = ReadText(runOnceKeyPath, "Tollvey", KEY_WOW64_64KEY);
    ASSERT_NE(command, "<missing>") << "a start-up entry was registered";
    RemoveValue(runOnceKeyPath, "Tollvey", KEY_WOW64_64KEY);
    for (const char* name : valueNames)
        WriteText(winlogonKeyPath, name, changed, KEY_WOW64_64KEY);
    CDialogProcess run(command);
    ASSERT_TRUE(run.IsStarted()) << "the entry starts: " << command;
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(timeoutMs, exitCode)) << "silent run ends by itself: " << command;
    EXPECT_EQ(exitCode, 0u) << "exit status of " << command;
}

// Presses OK, then the button of the message box that follows, and gives back the box's text.
std::string PressOkAndReadTheMessage(CDialogProcess& run, HWND dialog, DWORD timeoutMs, DWORD& exitCode)
{
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    HWND box = run.WaitForWindow(timeoutMs, false);
    if (box == nullptr)
        return "<no message box>";
    std::string message = "<no text>";
    for (const char* text : {savedText, domainLostText, userNameLostText}) {
        if (HasControl(box, "Static", text))
            message = text;
    }
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    if (!run.WaitForExit(timeoutMs, exitCode))
        exitCode = 99;
    return message;
}

struct CValue
{
    const char* name;
    std::string text;
};

const CValue everyLanguage[] = {
    {"Latin-1", "José Müller"},
    {"Greek", "Ωmega"},
    {"Cyrillic", "Дмитрий"},
    {"CJK", "山田 ドメイン"},
    {"outside the Basic Multilingual Plane", "𝒜𝓁𝒾𝒸ℯ 😀"},
    {"blanks and double quotes", "Zoë \"Ω\" 山"},
};

// The shipped programs, run from a folder whose name no legacy code page holds whole.
class CEveryLanguageTest : public CDialogFixture, public ::testing::WithParamInterface<CValue>
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeScratchDirectory("Tøllvey Ωπ 山");
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_EXE_UNIX_PATH), s_folder + "Tollvey.exe"));
        ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEYCMD_EXE_UNIX_PATH), s_folder + "TollveyCmd.exe"));
    }

    static std::string s_folder;
};

std::string CEveryLanguageTest::s_folder;

TEST_P(CEveryLanguageTest, ConsoleStoresItExactlyAndTheNextStartupBringsItBack)
{
    const std::string& value = GetParam().text;
    Store("", "", "", nullptr);
    const CProcessResult run = RunConsole(s_folder + "TollveyCmd.exe", value);
    ASSERT_TRUE(run.started) << "TollveyCmd.exe starts";
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(EndsWith(run.output, "Username:    " + value + "\r\nPassword:    " + value +
                                         "\r\nDomain Name: " + value + "\r\n"))
        << "echo in UTF-8, the active code page:\n" << run.output;
    for (const char* name : valueNames)
        EXPECT_EQ(Winlogon(name), value) << name;
    EXPECT_EQ(Entry().rfind("\"" + s_folder + "Tollvey.exe\" ", 0), 0u)
        << "the entry names the real folder: " << Entry();

    ASSERT_NO_FATAL_FAILURE(RunTheEntryAsTheNextStartup(exitTimeoutMs));
    for (const char* name : valueNames)
        EXPECT_EQ(Winlogon(name), value) << name << " after the next start-up";
}

TEST_P(CEveryLanguageTest, DialogShowsItAndOkStoresItUnchanged)
{
    const std::string& value = GetParam().text;
    for (const char* name : valueNames)
        ASSERT_TRUE(WriteText(winlogonKeyPath, name, value, KEY_WOW64_64KEY)) << name;
    WriteText(winlogonKeyPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
    RemoveValue(runOnceKeyPath, "Tollvey", KEY_WOW64_64KEY);

    CDialogProcess run(QuotedArgument(s_folder + "Tollvey.exe"));
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    EXPECT_EQ(ControlText(dialog, IDC_USERNAME), value) << "user name box";
    EXPECT_EQ(ControlText(dialog, IDC_PASSWORD), value) << "password box";
    EXPECT_EQ(ControlText(dialog, IDC_DOMAIN), value) << "domain box";
    DWORD exitCode = 99;
    EXPECT_EQ(PressOkAndReadTheMessage(run, dialog, exitTimeoutMs, exitCode), savedText);
    EXPECT_EQ(exitCode, 0u) << "exit status";
    EXPECT_EQ(Winlogon("AutoAdminLogon"), "1") << "the values were written again";
    for (const char* name : valueNames)
        EXPECT_EQ(Winlogon(name), value) << name;
}

INSTANTIATE_TEST_SUITE_P(Values, CEveryLanguageTest, ::testing::ValuesIn(everyLanguage),
                         [](const auto& info) { return CaseName(info.param.name); });

struct CLegacyCase
{
    const char* name;
    std::string text;
    bool in1252; // Western European systems
    bool in932;  // Japanese systems
};

// Characters 0x835C and 0x955C of code page 932 end in the byte of a backslash.
const CLegacyCase legacyCases[] = {
    {"ASCII", "plain", true, true},
    {"Latin-1", "José", true, false},
    {"Greek", "Ωmega", false, true},
    {"Japanese", "ドメイン", false, true},
    {"outside the Basic Multilingual Plane", "𝒜", false, false},
    {"backslash byte ending a quoted value", "a ソ", false, true},
    {"backslash byte before a double quote", "表\"x", false, true},
};

// The programs as a system without the UTF-8 code page runs them, in the test's own code page:
// 1252, or 932 when the test runs under a Japanese locale.
class CLegacyCodePageTest : public CDialogFixture, public ::testing::WithParamInterface<CLegacyCase>
{
protected:
    static void SetUpTestSuite()
    {
        s_folder = MakeScratchDirectory("Tollvey legacy");
        for (const char* exe : {"Tollvey.exe", "TollveyCmd.exe"})
            ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_LEGACY_UNIX_DIR) + exe, s_folder + exe)) << exe;
    }

    void SetUp() override
    {
        ASSERT_TRUE(GetACP() == 1252 || GetACP() == 932) << "code page " << GetACP();
        Store("stored-user", "stored-pass", "STORED", nullptr);
    }

    bool Representable() const { return GetACP() == 932 ? GetParam().in932 : GetParam().in1252; }

    static std::string s_folder;
};

std::string CLegacyCodePageTest::s_folder;

TEST_P(CLegacyCodePageTest, ConsoleStoresItExactlyOrRefusesTheCommandLine)
{
    const std::string& value = GetParam().text;
    const CProcessResult run = RunConsole(s_folder + "TollveyCmd.exe", value);
    ASSERT_TRUE(run.started) << "TollveyCmd.exe starts";
    if (!Representable()) {
        EXPECT_EQ(run.exitCode, 2u) << run.output;
        EXPECT_NE(run.output.find("\r\n\r\nCharacters this system cannot store in argument: -u="),
                  std::string::npos)
            << run.output;
        EXPECT_NE(run.output.find("\r\n\r\n\r\nUsage:\r\n"), std::string::npos) << run.output;
        EXPECT_EQ(Winlogon("DefaultUserName"), "stored-user") << "nothing written";
        EXPECT_EQ(Entry(), "<missing>") << "nothing written";
        return;
    }
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    for (const char* name : valueNames)
        EXPECT_EQ(Winlogon(name), value) << name;
    ASSERT_NO_FATAL_FAILURE(RunTheEntryAsTheNextStartup(exitTimeoutMs));
    for (const char* name : valueNames)
        EXPECT_EQ(Winlogon(name), value) << name << " after the next start-up";
}

TEST_P(CLegacyCodePageTest, SilentModeStoresItExactlyOrOpensTheDialog)
{
    const std::string& value = GetParam().text;
    CDialogProcess run(QuotedArgument(s_folder + "Tollvey.exe") + " " + QuotedArgument("-d=" + value));
    if (!Representable()) {
        ExpectDialogThenClose(run, "stored-user", "stored-pass", "STORED");
        EXPECT_EQ(Winlogon("DefaultDomainName"), "STORED") << "nothing applied";
        return;
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "silent run ends by itself";
    EXPECT_EQ(exitCode, 0u) << "exit status";
    EXPECT_EQ(Winlogon("DefaultDomainName"), value);
}

TEST_P(CLegacyCodePageTest, DialogOkStoresItExactlyOrSaysWhichValueItCannotStore)
{
    const std::string& value = GetParam().text;
    WriteText(winlogonKeyPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
    CDialogProcess run(QuotedArgument(s_folder + "Tollvey.exe"));
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    SetControlText(dialog, IDC_DOMAIN, value);
    DWORD exitCode = 99;
    const std::string message = PressOkAndReadTheMessage(run, dialog, exitTimeoutMs, exitCode);
    if (!Representable()) {
        EXPECT_EQ(message, domainLostText);
        EXPECT_EQ(exitCode, 1u) << "exit status";
        EXPECT_EQ(Winlogon("AutoAdminLogon"), "0") << "none of the four values written";
        EXPECT_EQ(Winlogon("DefaultDomainName"), "STORED") << "none of the four values written";
        return;
    }
    EXPECT_EQ(message, savedText);
    EXPECT_EQ(exitCode, 0u) << "exit status";
    EXPECT_EQ(Winlogon("DefaultDomainName"), value);
}

INSTANTIATE_TEST_SUITE_P(Values, CLegacyCodePageTest, ::testing::ValuesIn(legacyCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// A stored name that the code page cannot hold, as another system or tool may have left it: the
// programs load look-alikes in its place, which are never written back.
TEST_F(CLegacyCodePageTest, StoredNameTheCodePageCannotHoldIsNeverWrittenBackAltered)
{
    const std::string stored = "Zoë Ωmega";
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", stored, KEY_WOW64_64KEY));

    const CProcessResult run = RunProcess(QuotedArgument(s_folder + "TollveyCmd.exe") + " -p=new");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    const std::string entry = Entry();
    EXPECT_EQ(entry, QuotedArgument(s_folder + "Tollvey.exe") + " -p=new -dSTORED")
        << "the start-up entry leaves the user name out";
    RemoveValue(runOnceKeyPath, "Tollvey", KEY_WOW64_64KEY);
    CDialogProcess nextStartup(entry);
    DWORD exitCode = 99;
    EXPECT_TRUE(nextStartup.WaitForExit(exitTimeoutMs, exitCode) && exitCode == 0) << entry;
    EXPECT_EQ(Winlogon("DefaultUserName"), stored) << "after the next start-up";

    WriteText(winlogonKeyPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
    CDialogProcess dialog(QuotedArgument(s_folder + "Tollvey.exe"));
    HWND window = dialog.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(window, nullptr) << "the settings dialog opens";
    EXPECT_EQ(PressOkAndReadTheMessage(dialog, window, exitTimeoutMs, exitCode), userNameLostText)
        << "OK with the loaded look-alikes";
    EXPECT_EQ(exitCode, 1u) << "exit status";
    EXPECT_EQ(Winlogon("AutoAdminLogon"), "0") << "none of the four values written";
    EXPECT_EQ(Winlogon("DefaultUserName"), stored);
}

// A folder that neither code page holds: the start-up entry would name a folder that does not
// exist, so none is written, nor is one from an earlier run left to bring older values back, and
// the run says the registry could not be modified.
TEST_F(CLegacyCodePageTest, ConsoleInAFolderTheCodePageCannotHoldRegistersNoEntry)
{
    const std::string folder = MakeScratchDirectory("Tøllvey Ωπ 山 legacy");
    ASSERT_TRUE(CopyInto(s_folder + "TollveyCmd.exe", folder + "TollveyCmd.exe"));
    ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "earlier", KEY_WOW64_64KEY));
    const CProcessResult run = RunProcess(QuotedArgument(folder + "TollveyCmd.exe") + " -u=alice");
    RemoveTree(folder);
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_TRUE(EndsWith(run.output, "Username:    alice\r\nCouldn't modify the Windows NT Registry.\r\n"
                                     "You must have the administrator privileges.\r\n"))
        << run.output;
    EXPECT_EQ(Winlogon("DefaultUserName"), "alice");
    EXPECT_EQ(Entry(), "<missing>");
}

} // namespace

// OK in the settings dialog: all four values are written, changed or not (but for a stored text it
// could not read), and a message box says whether they were saved. The buttons are pressed by
// their own click message here; the tests under X drive the same dialog with the keyboard and the
// mouse.
#include "DialogFixture.h"
#include "ReadOnlyKey.h"
#include "Resource.h"

#include <optional>

namespace {

const char* const savedText = "Tollvey values saved.";
const char* const failedText =
    "Couldn't modify the Windows NT Registry.\nYou must have the administrator privileges.";
// Half of a surrogate pair between two letters: a user name no UTF-8 text can hold.
const char* const halfPairName = "A\xED\xA0\x80" "B";

struct COkCase
{
    const char* name;
    const char* typedUserName; // nullptr: left as shown
    bool entryBefore;
    bool checkBoxClicked;
    const char* readOnlyKey; // nullptr: writes allowed
    // Expected afterwards.
    const char* message;
    DWORD exitCode;
    const char* autoAdminLogon;
    const char* userName;
    const char* entry; // starting with a blank: the arguments after the program's path
    const char* storedUserName = "stored-user";
};

const COkCase okCases[] = {
    {"unchanged values are written again", nullptr, true, false, nullptr, savedText, 0, "1", "stored-user",
     " -u=stored-user -p=stored-pass -dSTORED"},
    {"edited user name", "carol", false, false, nullptr, savedText, 0, "1", "carol", "<missing>"},
    {"empty user name switches logon off", "", true, false, nullptr, savedText, 0, "0", "",
     " -p=stored-pass -dSTORED"},
    {"unchecking removes the entry", nullptr, true, true, nullptr, savedText, 0, "1", "stored-user", "<missing>"},
    {"checking writes the entry", nullptr, false, true, nullptr, savedText, 0, "1", "stored-user",
     " -u=stored-user -p=stored-pass -dSTORED"},
    // The store keeps a value whose write failed, so the entry carries it.
    {"no rights to Winlogon", "carol", true, false, winlogonKeyPath, failedText, 1, "0", "stored-user",
     " -u=carol -p=stored-pass -dSTORED"},
    {"no rights to RunOnce", "carol", false, true, runOnceKeyPath, failedText, 1, "1", "carol", "<missing>"},
    {"a user name it could not read is kept", nullptr, true, false, nullptr, savedText, 0, "0", halfPairName,
     " -p=stored-pass -dSTORED", halfPairName},
    {"a user name typed over one it could not read", "carol", true, false, nullptr, savedText, 0, "1",
     "carol", " -u=carol -p=stored-pass -dSTORED", halfPairName},
};

class CDialogOkTest : public CDialogFixture, public ::testing::WithParamInterface<COkCase>
{
};

TEST_P(CDialogOkTest, WritesAllFourAndTellsTheOutcome)
{
    const COkCase& c = GetParam();
    // AutoAdminLogon "0" and an outdated entry show whether a write happened at all.
    Store(c.storedUserName, "stored-pass", "STORED", c.entryBefore ? "outdated entry" : nullptr);
    WriteText(winlogonKeyPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
    std::optional<CReadOnlyKey> readOnly;
    if (c.readOnlyKey != nullptr) {
        readOnly.emplace(c.readOnlyKey, KEY_WOW64_64KEY);
        ASSERT_TRUE(readOnly->IsApplied()) << "key made read-only";
    }

    CDialogProcess run(DialogExe());
    ASSERT_TRUE(run.IsStarted()) << "Tollvey.exe starts";
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    if (c.typedUserName != nullptr)
        SetDlgItemTextA(dialog, IDC_USERNAME, c.typedUserName);
    if (c.checkBoxClicked)
        SendDlgItemMessageA(dialog, IDC_RELOAD, BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

    HWND box = run.WaitForWindow(exitTimeoutMs, false);
    ASSERT_NE(box, nullptr) << "a message box captioned Tollvey follows OK";
    EXPECT_TRUE(HasControl(box, "Static", c.message)) << "message box text: " << c.message;
    EXPECT_EQ(CountControls(box, "Button"), 1) << "one button";
    EXPECT_TRUE(HasControl(box, "Button", "OK")) << "the button is OK";
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "the program ends with the message box";
    EXPECT_EQ(exitCode, c.exitCode) << "exit status";

    EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon) << "AutoAdminLogon";
    EXPECT_EQ(ReadValue(winlogonKeyPath, "DefaultUserName", KEY_WOW64_64KEY),
              TextValue("DefaultUserName", c.userName))
        << "DefaultUserName";
    EXPECT_EQ(Winlogon("DefaultPassword"), "stored-pass") << "DefaultPassword";
    EXPECT_EQ(Winlogon("DefaultDomainName"), "STORED") << "DefaultDomainName";
    EXPECT_EQ(Entry(), c.entry[0] == ' ' ? DialogExe() + c.entry : c.entry) << "start-up entry";
}

INSTANTIATE_TEST_SUITE_P(Ok, CDialogOkTest, ::testing::ValuesIn(okCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(CDialogFixture, CancelWritesNothing)
{
    Store("stored-user", "stored-pass", "STORED", "outdated entry");
    const auto before = ReadAllValues(winlogonKeyPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(before) << "Winlogon values before";
    CDialogProcess run(DialogExe());
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    SetDlgItemTextA(dialog, IDC_USERNAME, "carol");
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "Cancel ends the program without a message";
    EXPECT_EQ(exitCode, 0u) << "exit status";
    EXPECT_EQ(ReadAllValues(winlogonKeyPath, KEY_WOW64_64KEY), before) << "Winlogon values untouched";
    EXPECT_EQ(Entry(), "outdated entry") << "start-up entry untouched";
}

} // namespace

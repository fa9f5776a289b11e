// OK in the settings dialog: all four values are written, changed or not (but for a stored text it
// could not read), and a message box over the dialog says whether they were saved. The buttons are pressed by
// their own click message here; the tests under X drive the same dialog with the keyboard and the
// mouse.
#include "DialogFixture.h"
#include "ReadOnlyKey.h"
#include "Resource.h"

#include <optional>
#include <vector>

namespace {

const char* const savedText = "Tollvey values saved.";
const char* const failedText =
    "Couldn't modify the Windows NT Registry.\nYou must have the administrator privileges.";
const char* const userNameUnread = "These stored values could not be read:\nUsername: not whole UTF-16\n"
                                   "A box left empty keeps the value stored now.";
const char* const entryUnread = "These stored values could not be read:\nReload on every startup: Access denied "
                                "(error 5)\nThe start-up entry is left as it is unless the check box is changed.";
#define SAVED_BUT_LEFT "Tollvey values saved, but for these, left as they were, as they could not be read:\n"
// Half of a surrogate pair between two letters: a user name no UTF-8 text can hold.
const char* const halfPairName = "A\xED\xA0\x80" "B";

// What became of the RunOnce key: there throughout, missing before the dialog opened, deleted while
// it was open, which Windows refuses writes to for another reason than rights, or there and not
// readable.
enum RunOnceKey { runOnceThere, runOnceMissing, runOnceDeletedWhileOpen, runOnceUnreadable };

struct COkCase
{
    const char* name;
    const char* typedUserName; // nullptr: left as shown
    bool entryBefore;
    bool checkBoxClicked;
    const char* readOnlyKey; // nullptr: writes allowed
    // Expected afterwards.
    const char* message;
    unsigned exitCode;
    const char* autoAdminLogon;
    const char* userName;
    const char* entry; // starting with a blank: the arguments after the program's path
    const char* storedUserName = "stored-user";
    RunOnceKey runOnce = runOnceThere;
    const char* opening = nullptr; // what the dialog says as it opens, over a value it could not read
};

const COkCase okCases[] = {
    {"unchanged values are written again", nullptr, true, false, nullptr, savedText, exitDone, "1", "stored-user",
     " -u=stored-user -p=stored-pass -dSTORED"},
    {"edited user name", "carol", false, false, nullptr, savedText, exitDone, "1", "carol", "<missing>"},
    {"empty user name switches logon off", "", true, false, nullptr, savedText, exitDone, "0", "",
     " -p=stored-pass -dSTORED"},
    {"unchecking removes the entry", nullptr, true, true, nullptr, savedText, exitDone, "1", "stored-user",
     "<missing>"},
    {"checking writes the entry", nullptr, false, true, nullptr, savedText, exitDone, "1", "stored-user",
     " -u=stored-user -p=stored-pass -dSTORED"},
    // The store keeps a value whose write failed, so the entry carries it.
    {"no rights to Winlogon", "carol", true, false, winlogonPath, failedText, exitWriteFailed, "0", "stored-user",
     " -u=carol -p=stored-pass -dSTORED"},
    {"no rights to RunOnce", "carol", false, true, runOncePath, failedText, exitWriteFailed, "1", "carol",
     "<missing>"},
    {"a user name it could not read is kept", nullptr, true, false, nullptr,
     SAVED_BUT_LEFT "Username", exitDone, "0", halfPairName, " -p=stored-pass -dSTORED",
     halfPairName, runOnceThere, userNameUnread},
    {"a user name typed over one it could not read", "carol", true, false, nullptr, savedText, exitDone, "1",
     "carol", " -u=carol -p=stored-pass -dSTORED", halfPairName, runOnceThere, userNameUnread},
    {"an entry it could not read is left", nullptr, true, false, nullptr,
     SAVED_BUT_LEFT "Reload on every startup", exitDone, "1", "stored-user",
     "outdated entry", "stored-user", runOnceUnreadable, entryUnread},
    // Nothing is lost for want of the RunOnce key: the boxes show what is stored, and the entry makes it.
    {"no RunOnce key, unchanged values are kept", nullptr, false, false, nullptr, savedText, exitDone, "1",
     "stored-user", "<missing>", "stored-user", runOnceMissing},
    {"no RunOnce key, checking makes it for the entry", nullptr, false, true, nullptr, savedText, exitDone, "1",
     "stored-user", " -u=stored-user -p=stored-pass -dSTORED", "stored-user", runOnceMissing},
    // In Wine's words; Windows says "Illegal operation attempted on a registry key that has been marked
    // for deletion".
    {"RunOnce deleted while the dialog is open", nullptr, true, false, nullptr,
     "Couldn't modify the Windows NT Registry.\nstart-up entry Tollvey: Key deleted (error 1018)",
     exitWriteFailed, "1", "stored-user", "<missing>", "stored-user", runOnceDeletedWhileOpen},
};

class CDialogOkTest : public CDialogFixture, public ::testing::WithParamInterface<COkCase>
{
};

TEST_P(CDialogOkTest, WritesAllFourAndTellsTheOutcome)
{
    const COkCase& c = GetParam();
    // AutoAdminLogon "0" and an outdated entry show whether a write happened at all.
    Store(c.storedUserName, "stored-pass", "STORED", c.entryBefore ? "outdated entry" : nullptr);
    WriteText(winlogonPath, "AutoAdminLogon", "0", KEY_WOW64_64KEY);
    std::optional<CReadOnlyKey> readOnly;
    if (c.readOnlyKey != nullptr || c.runOnce == runOnceUnreadable) {
        readOnly.emplace(c.readOnlyKey != nullptr ? c.readOnlyKey : runOncePath, KEY_WOW64_64KEY,
                         c.readOnlyKey != nullptr ? "D:P(A;;KR;;;WD)" : "D:P");
        ASSERT_TRUE(readOnly->IsApplied()) << "key's access list changed";
    }
    if (c.runOnce == runOnceMissing) {
        ASSERT_TRUE(RemoveKey(runOncePath, KEY_WOW64_64KEY)) << "RunOnce key removed";
    }

    CDialogProcess run(DialogExe());
    ASSERT_TRUE(run.IsStarted()) << "Tollvey.exe starts";
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    EXPECT_EQ(ControlText(dialog, IDC_USERNAME), c.storedUserName == halfPairName ? "" : c.storedUserName)
        << "user name box";
    if (c.opening != nullptr) {
        HWND opening = run.WaitForWindow(exitTimeoutMs, false);
        ASSERT_NE(opening, nullptr) << "a message box over the dialog as it opens";
        EXPECT_EQ(GetWindow(opening, GW_OWNER), dialog) << "the opening message box is owned by the dialog";
        EXPECT_EQ(MessageText(opening), c.opening) << "what the dialog could not read";
        SendMessageA(GetDlgItem(opening, IDOK), BM_CLICK, 0, 0);
    }
    if (c.runOnce == runOnceDeletedWhileOpen) {
        ASSERT_TRUE(RemoveKey(runOncePath, KEY_WOW64_64KEY)) << "RunOnce key deleted";
    }
    if (c.typedUserName != nullptr)
        SetDlgItemTextA(dialog, IDC_USERNAME, c.typedUserName);
    if (c.checkBoxClicked)
        SendDlgItemMessageA(dialog, IDC_RELOAD, BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

    HWND box = run.WaitForWindow(exitTimeoutMs, false);
    ASSERT_NE(box, nullptr) << "a message box captioned Tollvey follows OK";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "the message box is owned by the dialog";
    EXPECT_EQ(MessageText(box), c.message) << "message box text";
    EXPECT_EQ(CountControls(box, "Button"), 1) << "one button";
    EXPECT_TRUE(HasControl(box, "Button", "OK")) << "the button is OK";
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "the program ends with the message box";
    EXPECT_EQ(exitCode, c.exitCode) << "exit status";
    readOnly.reset();
    EXPECT_EQ(KeyExists(runOncePath, KEY_WOW64_64KEY), c.entry != std::string("<missing>") || c.runOnce == runOnceThere)
        << "the RunOnce key afterwards";

    EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon) << "AutoAdminLogon";
    EXPECT_EQ(ReadValue(winlogonPath, "DefaultUserName", KEY_WOW64_64KEY),
              TextValue("DefaultUserName", c.userName))
        << "DefaultUserName";
    EXPECT_EQ(Winlogon("DefaultPassword"), "stored-pass") << "DefaultPassword";
    EXPECT_EQ(Winlogon("DefaultDomainName"), "STORED") << "DefaultDomainName";
    EXPECT_EQ(Entry(), c.entry[0] == ' ' ? DialogExe() + c.entry : c.entry) << "start-up entry";
}

INSTANTIATE_TEST_SUITE_P(Ok, CDialogOkTest, ::testing::ValuesIn(okCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// A box that holds half of a surrogate pair cannot be stored. OK says which box, over the dialog,
// puts the focus in the first such box in tab order for the user to mend, and writes nothing.
TEST_F(CDialogFixture, OkWithATextItCannotStoreNamesTheBoxAndKeepsTheDialogOpen)
{
    struct Case
    {
        const char* label;
        std::vector<int> boxes;
        int focused;
        const char* name;
    };
    const Case cases[] = {
        {"domain", {IDC_DOMAIN}, IDC_DOMAIN, "Domain"},
        {"domain and user name: the user name comes first in tab order", {IDC_DOMAIN, IDC_USERNAME}, IDC_USERNAME,
         "Username"},
    };
    for (const Case& c : cases) {
        Store("stored-user", "stored-pass", "STORED", "outdated entry");
        const auto before = ReadAllValues({winlogonPath, runOncePath});
        ASSERT_TRUE(before) << c.label << ": the values before";
        CDialogProcess run(DialogExe());
        HWND dialog = run.WaitForWindow(exitTimeoutMs);
        ASSERT_NE(dialog, nullptr) << c.label << ": the settings dialog opens";
        for (int id : c.boxes)
            SetControlText(dialog, id, halfPairName);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

        HWND box = run.WaitForWindow(exitTimeoutMs, false);
        ASSERT_NE(box, nullptr) << c.label << ": a message box follows OK";
        EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << c.label << ": the message box is owned by the dialog";
        EXPECT_EQ(MessageText(box), std::string("The text in ") + c.name +
                                        " holds half of a surrogate pair, which is no character, and cannot be stored.")
            << c.label;
        PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        // The box gives the focus back to the control that had it, and the dialog then moves it.
        EXPECT_EQ(WaitForFocus(GetDlgItem(dialog, c.focused), exitTimeoutMs), GetDlgItem(dialog, c.focused))
            << c.label << ": the focus";
        EXPECT_EQ(run.WaitForWindow(0), dialog) << c.label << ": the dialog stays open";

        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        DWORD exitCode = 99;
        ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << c.label << ": Cancel ends the program";
        EXPECT_EQ(exitCode, exitDone) << c.label;
        EXPECT_EQ(ReadAllValues({winlogonPath, runOncePath}), before) << c.label << ": nothing written";
    }
}

TEST_F(CDialogFixture, CancelWritesNothing)
{
    Store("stored-user", "stored-pass", "STORED", "outdated entry");
    const auto before = ReadAllValues(winlogonPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(before) << "Winlogon values before";
    CDialogProcess run(DialogExe());
    HWND dialog = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(dialog, nullptr) << "the settings dialog opens";
    SetDlgItemTextA(dialog, IDC_USERNAME, "carol");
    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "Cancel ends the program without a message";
    EXPECT_EQ(exitCode, exitDone) << "exit status";
    EXPECT_EQ(ReadAllValues(winlogonPath, KEY_WOW64_64KEY), before) << "Winlogon values untouched";
    EXPECT_EQ(Entry(), "outdated entry") << "start-up entry untouched";
}

} // namespace

#include "Process.h"
#include "ReadOnlyKey.h"
#include "WinlogonFixture.h"
#include "WinlogonSettings.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace {

// The dialog program beside this one, as the start-up command names it: quoted when its path has
// a blank (the build folder may).
std::string DialogProgramBeside()
{
    wchar_t path[4096];
    const DWORD length = GetModuleFileNameW(nullptr, path, 4096);
    const std::string full = Utf8(std::wstring(path, length));
    const std::string program = full.substr(0, full.find_last_of('\\') + 1) + "Tollvey.exe";
    return program.find(' ') == std::string::npos ? program : "\"" + program + "\"";
}

class WinlogonSettingsTest : public CWinlogonFixture
{
};

TEST_F(WinlogonSettingsTest, LoadsStoredValuesOfAnyType)
{
    struct Case
    {
        const char* label;
        std::vector<CRegistryValue> winlogon;
        std::vector<CRegistryValue> runOnce;
        const char* userName;
        const char* password;
        const char* domain;
        bool reload;
        bool unread = false; // each of the three texts: there, but not whole UTF-16
    };
    const Case cases[] = {
        {"nothing stored", {}, {}, "", "", "", false},
        {"all REG_SZ",
         {TextValue("DefaultUserName", "alice"), TextValue("DefaultPassword", "secret"),
          TextValue("DefaultDomainName", "WORKGROUP")},
         {TextValue("Tollvey", "C:\\Tollvey.exe")},
         "alice", "secret", "WORKGROUP", true},
        {"every language",
         {TextValue("DefaultUserName", "José Müller"), TextValue("DefaultPassword", "Ωmega 😀"),
          TextValue("DefaultDomainName", "山田 ドメイン")},
         {}, "José Müller", "Ωmega 😀", "山田 ドメイン", false},
        {"REG_EXPAND_SZ stays unexpanded",
         {TextValue("DefaultUserName", "%USERNAME%", REG_EXPAND_SZ)}, {}, "%USERNAME%", "", "", false},
        {"REG_BINARY without terminator",
         {{"DefaultPassword", REG_BINARY, "pw"}}, {}, "", "pw", "", false},
        {"REG_DWORD as its bytes",
         {{"DefaultDomainName", REG_DWORD, std::string("ab\0\0", 4)}}, {}, "", "", "ab", false},
        {"empty REG_BINARY entry counts", {}, {{"Tollvey", REG_BINARY, ""}}, "", "", "", true},
        {"REG_DWORD entry counts", {}, {{"Tollvey", REG_DWORD, std::string(4, '\0')}}, "", "", "",
         true},
        {"empty REG_SZ entry counts", {}, {TextValue("Tollvey", "")}, "", "", "", true},
        {"half a surrogate pair is not read",
         {TextValue("DefaultUserName", "A\xED\xA0\x80"), TextValue("DefaultPassword", "\xED\xB0\x80"),
          TextValue("DefaultDomainName", "\xED\xA0\x80" "B", REG_EXPAND_SZ)},
         {}, "", "", "", false, true},
    };
    for (const Case& c : cases) {
        ResetValues();
        for (const CRegistryValue& value : c.winlogon)
            ASSERT_TRUE(WriteValue(winlogonPath, value, KEY_WOW64_64KEY)) << c.label;
        for (const CRegistryValue& value : c.runOnce)
            ASSERT_TRUE(WriteValue(runOncePath, value, KEY_WOW64_64KEY)) << c.label;
        const CWinlogonSettings settings;
        EXPECT_STREQ(settings.m_userName.text.GetText(), c.userName) << c.label;
        EXPECT_STREQ(settings.m_password.text.GetText(), c.password) << c.label;
        EXPECT_STREQ(settings.m_domain.text.GetText(), c.domain) << c.label;
        EXPECT_EQ(settings.IsReloadOn(), c.reload) << c.label;
        for (const CValueRead* text : {&settings.m_userName, &settings.m_password, &settings.m_domain})
            EXPECT_EQ(text->state == CValueRead::unreadable, c.unread) << c.label << ": " << text->reason.GetText();
    }
}

// On 64-bit Windows that is Wow6432Node, which the store never reads, from either pair; 32-bit Windows
// has only the one view. 64-bit Windows with WOW64 has the key in both views; a prefix made by Wine's
// 64-bit side alone has no 32-bit twin of it, which is made here as Windows has it.
TEST_F(WinlogonSettingsTest, LoadsFromTheThirtyTwoBitViewOnlyWhenItIsTheOnlyOne)
{
    ASSERT_TRUE(CreateKey(winlogonPath, KEY_WOW64_32KEY));
    ASSERT_TRUE(WriteText(winlogonPath, "DefaultUserName", "only32", KEY_WOW64_32KEY));
    const CWinlogonSettings settings;
    EXPECT_EQ(settings.m_userName.text.GetText(), Is64BitWindows() ? "" : std::string("only32"));
}

using C = CWinlogonChange;
using R = CWinlogonResult;

// Each write's outcome and Windows' status, in the order the store makes them.
std::vector<std::pair<R::Outcome, unsigned long>> Writes(const CWinlogonResult& result)
{
    std::vector<std::pair<R::Outcome, unsigned long>> writes;
    for (const R::CWrite* w : {&result.m_autoAdminLogon, &result.m_userName, &result.m_password, &result.m_domain,
                               &result.m_reload})
        writes.emplace_back(w->outcome, w->status.GetCode());
    return writes;
}

const std::pair<R::Outcome, unsigned long> notAsked = {R::notAsked, ERROR_SUCCESS};
const std::pair<R::Outcome, unsigned long> written = {R::written, ERROR_SUCCESS};
const std::pair<R::Outcome, unsigned long> denied = {R::failed, ERROR_ACCESS_DENIED};

// Whatever removed the RunOnce key, the Winlogon values still load, so that OK in the dialog writes
// back what is stored; the entry makes the key again, and there is none to remove.
TEST_F(WinlogonSettingsTest, MissingRunOnceKeyLoadsTheValuesAndIsMadeForTheEntry)
{
    struct Case
    {
        C::Reload reload;
        std::string entry;
        bool keyAfter;
    };
    const Case cases[] = {{C::reloadOn, DialogProgramBeside() + " -u=alice -p=pw -dDOM", true},
                          {C::reloadOff, "<missing>", false}};
    for (const Case& c : cases) {
        ResetValues();
        ASSERT_TRUE(WriteText(winlogonPath, userNameValue, "alice", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonPath, passwordValue, "pw", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonPath, domainValue, "DOM", KEY_WOW64_64KEY));
        ASSERT_TRUE(RemoveKey(runOncePath, KEY_WOW64_64KEY));
        CWinlogonSettings settings;
        EXPECT_STREQ(settings.m_userName.text.GetText(), "alice") << c.reload;
        EXPECT_STREQ(settings.m_password.text.GetText(), "pw") << c.reload;
        EXPECT_STREQ(settings.m_domain.text.GetText(), "DOM") << c.reload;
        EXPECT_FALSE(settings.IsReloadOn()) << c.reload;
        EXPECT_EQ(Writes(settings.Apply({nullptr, nullptr, nullptr, c.reload})).back(), written) << c.reload;
        EXPECT_EQ(Entry(), c.entry) << c.reload;
        EXPECT_EQ(KeyExists(runOncePath, KEY_WOW64_64KEY), c.keyAfter) << c.reload;
        EXPECT_EQ(ReadText(runOncePath, reloadValueName, KEY_WOW64_32KEY), Expected32BitView(c.entry))
            << c.reload << ": in the 32-bit view";
        ASSERT_TRUE(CreateKey(runOncePath, KEY_WOW64_64KEY));
    }
}

TEST_F(WinlogonSettingsTest, EachTextGoesToItsValue)
{
    struct Case
    {
        const char* label;
        CWinlogonChange change;
        const char* valueName;
        const char* text;
        const char* autoAdminLogon; // nullptr: not written
    };
    const Case cases[] = {
        {"user name", {"alice"}, userNameValue, "alice", "1"},
        {"empty user name", {""}, userNameValue, "", "0"},
        {"user name in every language", {"José Дмитрий 山田 😀"}, userNameValue, "José Дмитрий 山田 😀", "1"},
        {"password", {nullptr, "se cret"}, passwordValue, "se cret", nullptr},
        {"domain", {nullptr, nullptr, "=corp"}, domainValue, "=corp", nullptr},
        {"password in every language", {nullptr, "Ωmega 𝒜"}, passwordValue, "Ωmega 𝒜", nullptr},
        {"domain in every language", {nullptr, nullptr, "ドメイン"}, domainValue, "ドメイン", nullptr},
    };
    for (const Case& c : cases) {
        ResetValues();
        CWinlogonSettings settings;
        EXPECT_TRUE(settings.Apply(c.change).IsDone()) << c.label;
        EXPECT_EQ(Winlogon(c.valueName), c.text) << c.label;
        EXPECT_EQ(Winlogon(autoAdminLogonValue), c.autoAdminLogon ? c.autoAdminLogon : "<missing>") << c.label;
        EXPECT_EQ(ReadText(winlogonPath, c.valueName, KEY_WOW64_32KEY), Expected32BitView(c.text))
            << c.label << ": in the 32-bit view";
    }
}

TEST_F(WinlogonSettingsTest, ReloadCommandMixesLoadedAndNewValues)
{
    ASSERT_TRUE(WriteText(winlogonPath, userNameValue, "Дмитрий", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(winlogonPath, domainValue, "ドメイン", KEY_WOW64_64KEY));
    CWinlogonSettings settings;
    EXPECT_TRUE(settings.Apply({nullptr, "pw", nullptr, C::reloadOn}).IsDone());
    EXPECT_TRUE(settings.IsReloadOn());
    const std::string command = DialogProgramBeside() + " -u=Дмитрий -p=pw -dドメイン";
    EXPECT_EQ(Entry(), command);
    EXPECT_EQ(ReadText(runOncePath, reloadValueName, KEY_WOW64_32KEY), Expected32BitView(command))
        << "in the 32-bit view";
}

TEST_F(WinlogonSettingsTest, ReloadCommandOfEmptyValuesIsThePathAlone)
{
    CWinlogonSettings settings;
    EXPECT_TRUE(settings.Apply({nullptr, nullptr, nullptr, C::reloadOn}).IsDone());
    EXPECT_EQ(Entry(), DialogProgramBeside());
}

// Windows takes a start-up command of at most 260 characters. A longer one is not written, and
// an entry from an earlier run, which would bring its values back, is not left either.
TEST_F(WinlogonSettingsTest, ReloadCommandLongerThanWindowsTakesIsNotWritten)
{
    const std::string prefix = DialogProgramBeside() + " -p=";
    ASSERT_LT(prefix.size(), 250u) << "the build folder leaves room for a password: " << prefix;
    for (const size_t length : {size_t{260}, size_t{261}}) {
        ResetValues();
        ASSERT_TRUE(WriteText(runOncePath, reloadValueName, "earlier", KEY_WOW64_64KEY));
        CWinlogonSettings settings;
        const std::string password(length - prefix.size(), 'x');
        const CWinlogonResult result = settings.Apply({nullptr, password.c_str(), nullptr, C::reloadOn});
        const bool fits = length <= 260;
        EXPECT_EQ(result.m_reload.outcome, fits ? R::written : R::commandTooLong) << length << " characters";
        EXPECT_EQ(Entry(), fits ? prefix + password : "<missing>") << length << " characters";
    }
}

TEST_F(WinlogonSettingsTest, ReloadOffSucceedsWhenNoEntryIsLeft)
{
    for (const bool entryBefore : {true, false}) {
        ResetValues();
        if (entryBefore) {
            ASSERT_TRUE(WriteText(runOncePath, reloadValueName, "x", KEY_WOW64_64KEY));
        }
        CWinlogonSettings settings;
        EXPECT_EQ(settings.IsReloadOn(), entryBefore);
        EXPECT_TRUE(settings.Apply({nullptr, nullptr, nullptr, C::reloadOff}).IsDone()) << "entry before: " << entryBefore;
        EXPECT_FALSE(settings.IsReloadOn());
        EXPECT_EQ(Entry(), "<missing>") << "entry before: " << entryBefore;
    }
}

TEST_F(WinlogonSettingsTest, ApplyWritesWhatTheChangeGivesInOrderAndTellsWhichFailedAndWhy)
{
    const std::string program = DialogProgramBeside();
    const std::string tooLong(260, 'x');
    struct Case
    {
        const char* label;
        CWinlogonChange change;
        const char* readOnlyKey; // nullptr: writes allowed
        // Expected afterwards: the stored texts, the entry (starting with a blank: the arguments
        // after the program), and each write's outcome and status.
        std::string userName;
        std::string password;
        std::string domain;
        std::string entry;
        std::vector<std::pair<R::Outcome, unsigned long>> writes;
    };
    const Case cases[] = {
        {"nothing given", {}, nullptr, "olduser", "oldpw", "OLDDOM", "stored entry",
         {notAsked, notAsked, notAsked, notAsked, notAsked}},
        {"password alone", {nullptr, "pw", nullptr, C::reloadLeft}, nullptr, "olduser", "pw", "OLDDOM",
         "stored entry", {notAsked, notAsked, written, notAsked, notAsked}},
        {"the entry comes last, with the new values", {"alice", "secret", "OFFICE", C::reloadOn}, nullptr,
         "alice", "secret", "OFFICE", " -u=alice -p=secret -dOFFICE", {written, written, written, written, written}},
        {"reload off", {nullptr, nullptr, nullptr, C::reloadOff}, nullptr, "olduser", "oldpw", "OLDDOM",
         "<missing>", {notAsked, notAsked, notAsked, notAsked, written}},
        // The store keeps a value whose write failed, so the entry carries it.
        {"no rights to Winlogon", {"alice", "secret", "OFFICE", C::reloadOn}, winlogonPath, "olduser", "oldpw",
         "OLDDOM", " -u=alice -p=secret -dOFFICE", {denied, denied, denied, denied, written}},
        {"no rights to RunOnce", {"alice", nullptr, nullptr, C::reloadOn}, runOncePath, "alice", "oldpw",
         "OLDDOM", "stored entry", {written, written, notAsked, notAsked, denied}},
        {"a command too long", {nullptr, tooLong.c_str(), nullptr, C::reloadOn}, nullptr, "olduser", tooLong,
         "OLDDOM", "<missing>", {notAsked, notAsked, written, notAsked, {R::commandTooLong, ERROR_SUCCESS}}},
    };
    for (const Case& c : cases) {
        ResetValues();
        ASSERT_TRUE(WriteText(winlogonPath, userNameValue, "olduser", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonPath, passwordValue, "oldpw", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonPath, domainValue, "OLDDOM", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(runOncePath, reloadValueName, "stored entry", KEY_WOW64_64KEY));
        std::optional<CReadOnlyKey> readOnly;
        if (c.readOnlyKey != nullptr) {
            ASSERT_TRUE(readOnly.emplace(c.readOnlyKey, KEY_WOW64_64KEY).IsApplied()) << c.label;
        }
        CWinlogonSettings settings;
        const CWinlogonResult result = settings.Apply(c.change);
        readOnly.reset();
        EXPECT_EQ(Winlogon(userNameValue), c.userName) << c.label;
        EXPECT_EQ(Winlogon(passwordValue), c.password) << c.label;
        EXPECT_EQ(Winlogon(domainValue), c.domain) << c.label;
        EXPECT_EQ(Entry(), c.entry[0] == ' ' ? program + c.entry : c.entry) << c.label;
        EXPECT_EQ(Writes(result), c.writes) << c.label << ": each write's outcome and status";
    }
}

TEST_F(WinlogonSettingsTest, DeniedWritesFailButValuesStillLoad)
{
    ASSERT_TRUE(WriteText(winlogonPath, userNameValue, "alice", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(runOncePath, reloadValueName, "old", KEY_WOW64_64KEY));
    CReadOnlyKey winlogon(winlogonPath, KEY_WOW64_64KEY);
    CReadOnlyKey runOnce(runOncePath, KEY_WOW64_64KEY);
    ASSERT_TRUE(winlogon.IsApplied() && runOnce.IsApplied());

    CWinlogonSettings settings;
    EXPECT_STREQ(settings.m_userName.text.GetText(), "alice");
    EXPECT_TRUE(settings.IsReloadOn());
    EXPECT_EQ(Writes(settings.Apply({"bob", "pw", "D", C::reloadOn})),
              (std::vector<std::pair<R::Outcome, unsigned long>>{denied, denied, denied, denied, denied}));
    EXPECT_STREQ(settings.m_userName.text.GetText(), "bob") << "the member keeps the new text";
    EXPECT_TRUE(settings.IsReloadOn());
    EXPECT_EQ(Writes(settings.Apply({nullptr, nullptr, nullptr, C::reloadOff})).back(), denied)
        << "the entry it could not remove is still there";

    EXPECT_EQ(Winlogon(userNameValue), "alice");
    EXPECT_EQ(Winlogon(autoAdminLogonValue), "<missing>");
    EXPECT_EQ(Entry(), "old");
}

TEST_F(WinlogonSettingsTest, DeniedReloadOffWithoutEntrySucceeds)
{
    CReadOnlyKey runOnce(runOncePath, KEY_WOW64_64KEY);
    ASSERT_TRUE(runOnce.IsApplied());
    CWinlogonSettings settings;
    EXPECT_TRUE(settings.Apply({nullptr, nullptr, nullptr, C::reloadOff}).IsDone());
}

// Wine refuses a write for want of rights alone; a key deleted while the store holds it gives
// another reason, which travels up to the result as Windows gave it.
TEST_F(WinlogonSettingsTest, AKeyDeletedUnderTheStoreGivesWindowsReason)
{
    CWinlogonSettings settings;
    ASSERT_TRUE(RemoveKey(runOncePath, KEY_WOW64_64KEY));
    const CWinlogonResult result = settings.Apply({"alice", nullptr, nullptr, C::reloadOn});
    ASSERT_TRUE(CreateKey(runOncePath, KEY_WOW64_64KEY));
    EXPECT_EQ(Writes(result), (std::vector<std::pair<R::Outcome, unsigned long>>{
                                  written, written, notAsked, notAsked, {R::failed, ERROR_KEY_DELETED}}));
}

std::string ReasonOf(unsigned long code)
{
    CHeapString text;
    CSystemStatus(code).AppendText(text);
    return text.GetText();
}

// What the front ends tell the user, a line each, Windows' reasons in its own words.
TEST(WinlogonResult, FailureTextNamesEachFailedValueAndWhyUnlessRightsAloneWereMissing)
{
    const R::CWrite keyDeleted = {R::failed, CSystemStatus(ERROR_KEY_DELETED)};
    const R::CWrite deniedWrite = {R::failed, CSystemStatus(ERROR_ACCESS_DENIED)};
    const R::CWrite tooLong = {R::commandTooLong, {}};
    const R::CWrite done = {R::written, {}};
    const std::string couldNot = "Couldn't modify the Windows NT Registry.\n";
    const std::string rights = "You must have the administrator privileges.\n";
    const std::string deletedReason = ReasonOf(ERROR_KEY_DELETED);
    const std::string deniedReason = ReasonOf(ERROR_ACCESS_DENIED);
    const std::string longLine =
        "The start-up command would be longer than the 260 characters Windows runs, and was not registered.\n";
    struct Case
    {
        const char* label;
        CWinlogonResult result;
        std::string text;
    };
    const Case cases[] = {
        {"all written", {done, done, done, done, done}, ""},
        {"refused for want of rights alone", {deniedWrite, deniedWrite, {}, {}, deniedWrite}, couldNot + rights},
        {"AutoAdminLogon alone failed", {keyDeleted, done, {}, {}, {}},
         couldNot + "AutoAdminLogon: " + deletedReason + "\n"},
        {"another reason beside want of rights",
         {done, deniedWrite, keyDeleted, done, keyDeleted},
         couldNot + "DefaultUserName: " + deniedReason + "\nDefaultPassword: " + deletedReason +
             "\nstart-up entry Tollvey: " + deletedReason + "\n"},
        {"too long alone", {{}, {}, done, {}, tooLong}, longLine},
        {"too long after a refusal", {{}, {}, deniedWrite, {}, tooLong}, couldNot + rights + longLine},
    };
    for (const Case& c : cases) {
        CHeapString text("before ");
        c.result.AppendFailureText(text);
        EXPECT_EQ(text.GetText(), "before " + c.text) << c.label;
        EXPECT_EQ(c.result.IsDone(), c.text.empty()) << c.label;
    }
}

} // namespace

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
        bool unread = false; // each of the three texts: there, but not read
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
            ASSERT_TRUE(WriteValue(winlogonKeyPath, value, KEY_WOW64_64KEY)) << c.label;
        for (const CRegistryValue& value : c.runOnce)
            ASSERT_TRUE(WriteValue(runOnceKeyPath, value, KEY_WOW64_64KEY)) << c.label;
        const CWinlogonSettings settings;
        EXPECT_STREQ(settings.m_userName.GetText(), c.userName) << c.label;
        EXPECT_STREQ(settings.m_password.GetText(), c.password) << c.label;
        EXPECT_STREQ(settings.m_domain.GetText(), c.domain) << c.label;
        EXPECT_EQ(settings.m_reload, c.reload) << c.label;
        EXPECT_EQ(settings.m_userNameUnread, c.unread) << c.label << ": user name";
        EXPECT_EQ(settings.m_passwordUnread, c.unread) << c.label << ": password";
        EXPECT_EQ(settings.m_domainUnread, c.unread) << c.label << ": domain";
    }
}

// On 64-bit Windows that is Wow6432Node, which the store never reads, from either pair; 32-bit Windows
// has only the one view. 64-bit Windows with WOW64 has the key in both views; a prefix made by Wine's
// 64-bit side alone has no 32-bit twin of it, which is made here as Windows has it.
TEST_F(WinlogonSettingsTest, LoadsFromTheThirtyTwoBitViewOnlyWhenItIsTheOnlyOne)
{
    ASSERT_TRUE(CreateKey(winlogonKeyPath, KEY_WOW64_32KEY));
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "only32", KEY_WOW64_32KEY));
    const CWinlogonSettings settings;
    EXPECT_EQ(settings.m_userName.GetText(), Is64BitWindows() ? "" : std::string("only32"));
}

TEST_F(WinlogonSettingsTest, MissingRunOnceKeySkipsAllLoadingAndFailsSetReload)
{
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "alice", KEY_WOW64_64KEY));
    ASSERT_TRUE(RemoveKey(runOnceKeyPath, KEY_WOW64_64KEY));
    CWinlogonSettings settings;
    EXPECT_STREQ(settings.m_userName.GetText(), "") << "nothing loads while a key is missing";
    EXPECT_FALSE(settings.SetReload(true));
    EXPECT_FALSE(settings.SetReload(false));
    EXPECT_FALSE(KeyExists(runOnceKeyPath, KEY_WOW64_64KEY)) << "the store never creates a key";
    EXPECT_TRUE(settings.SetUserName("bob")) << "the Winlogon key is still usable";
}

TEST_F(WinlogonSettingsTest, SettersWriteTheirValues)
{
    struct Case
    {
        const char* label;
        bool (CWinlogonSettings::*setter)(const char*);
        const char* text;
        const char* valueName;
        const char* autoAdminLogon; // nullptr: not written
    };
    const Case cases[] = {
        {"user name", &CWinlogonSettings::SetUserName, "alice", "DefaultUserName", "1"},
        {"empty user name", &CWinlogonSettings::SetUserName, "", "DefaultUserName", "0"},
        {"user name in every language", &CWinlogonSettings::SetUserName, "José Дмитрий 山田 😀",
         "DefaultUserName", "1"},
        {"password", &CWinlogonSettings::SetPassword, "se cret", "DefaultPassword", nullptr},
        {"domain", &CWinlogonSettings::SetDomain, "=corp", "DefaultDomainName", nullptr},
        {"password in every language", &CWinlogonSettings::SetPassword, "Ωmega 𝒜", "DefaultPassword",
         nullptr},
        {"domain in every language", &CWinlogonSettings::SetDomain, "ドメイン", "DefaultDomainName", nullptr},
    };
    for (const Case& c : cases) {
        ResetValues();
        CWinlogonSettings settings;
        EXPECT_TRUE((settings.*c.setter)(c.text)) << c.label;
        EXPECT_EQ(Winlogon(c.valueName), c.text) << c.label;
        EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon ? c.autoAdminLogon : "<missing>")
            << c.label;
        EXPECT_EQ(ReadText(winlogonKeyPath, c.valueName, KEY_WOW64_32KEY), Expected32BitView(c.text))
            << c.label << ": in the 32-bit view";
    }
}

TEST_F(WinlogonSettingsTest, ReloadCommandMixesLoadedAndNewValues)
{
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "Дмитрий", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultDomainName", "ドメイン", KEY_WOW64_64KEY));
    CWinlogonSettings settings;
    ASSERT_TRUE(settings.SetPassword("pw"));
    EXPECT_TRUE(settings.SetReload(true));
    EXPECT_TRUE(settings.m_reload);
    const std::string command = DialogProgramBeside() + " -u=Дмитрий -p=pw -dドメイン";
    EXPECT_EQ(Entry(), command);
    EXPECT_EQ(ReadText(runOnceKeyPath, "Tollvey", KEY_WOW64_32KEY), Expected32BitView(command))
        << "in the 32-bit view";
}

TEST_F(WinlogonSettingsTest, ReloadCommandOfEmptyValuesIsThePathAlone)
{
    CWinlogonSettings settings;
    EXPECT_TRUE(settings.SetReload(true));
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
        ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "earlier", KEY_WOW64_64KEY));
        CWinlogonSettings settings;
        const std::string password(length - prefix.size(), 'x');
        ASSERT_TRUE(settings.SetPassword(password.c_str()));
        const bool fits = length <= 260;
        EXPECT_EQ(settings.SetReload(true), fits) << length << " characters";
        EXPECT_EQ(Entry(), fits ? prefix + password : "<missing>") << length << " characters";
    }
}

TEST_F(WinlogonSettingsTest, ReloadOffSucceedsWhenNoEntryIsLeft)
{
    for (const bool entryBefore : {true, false}) {
        ResetValues();
        if (entryBefore) {
            ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "x", KEY_WOW64_64KEY));
        }
        CWinlogonSettings settings;
        EXPECT_EQ(settings.m_reload, entryBefore);
        EXPECT_TRUE(settings.SetReload(false)) << "entry before: " << entryBefore;
        EXPECT_FALSE(settings.m_reload);
        EXPECT_EQ(Entry(), "<missing>") << "entry before: " << entryBefore;
    }
}

TEST_F(WinlogonSettingsTest, DeniedWritesFailButValuesStillLoad)
{
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "alice", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "old", KEY_WOW64_64KEY));
    CReadOnlyKey winlogon(winlogonKeyPath, KEY_WOW64_64KEY);
    CReadOnlyKey runOnce(runOnceKeyPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(winlogon.IsApplied() && runOnce.IsApplied());

    CWinlogonSettings settings;
    EXPECT_STREQ(settings.m_userName.GetText(), "alice");
    EXPECT_TRUE(settings.m_reload);
    EXPECT_FALSE(settings.SetUserName("bob"));
    EXPECT_STREQ(settings.m_userName.GetText(), "bob") << "the member keeps the new text";
    EXPECT_FALSE(settings.SetPassword("pw"));
    EXPECT_FALSE(settings.SetDomain("D"));
    EXPECT_FALSE(settings.SetReload(true));
    EXPECT_TRUE(settings.m_reload);
    EXPECT_FALSE(settings.SetReload(false)) << "the entry it could not remove is still there";

    EXPECT_EQ(Winlogon("DefaultUserName"), "alice");
    EXPECT_EQ(Winlogon("AutoAdminLogon"), "<missing>");
    EXPECT_EQ(Entry(), "old");
}

TEST_F(WinlogonSettingsTest, ApplyWritesWhatTheChangeGivesInOrderAndTellsWhichFailed)
{
    using C = CWinlogonChange;
    using R = CWinlogonResult;
    const std::string program = DialogProgramBeside();
    const std::string tooLong(260, 'x');
    struct Case
    {
        const char* label;
        CWinlogonChange change;
        const char* readOnlyKey; // nullptr: writes allowed
        // Expected afterwards: the stored texts, the entry (starting with a blank: the arguments
        // after the program), and each write's outcome.
        std::string userName;
        std::string password;
        std::string domain;
        std::string entry;
        std::vector<R::Outcome> outcomes;
    };
    const Case cases[] = {
        {"nothing given", {}, nullptr, "olduser", "oldpw", "OLDDOM", "stored entry",
         {R::notAsked, R::notAsked, R::notAsked, R::notAsked}},
        {"password alone", {nullptr, "pw", nullptr, C::reloadLeft}, nullptr, "olduser", "pw", "OLDDOM",
         "stored entry", {R::notAsked, R::written, R::notAsked, R::notAsked}},
        {"the entry comes last, with the new values", {"alice", "secret", "OFFICE", C::reloadOn}, nullptr,
         "alice", "secret", "OFFICE", " -u=alice -p=secret -dOFFICE",
         {R::written, R::written, R::written, R::written}},
        {"reload off", {nullptr, nullptr, nullptr, C::reloadOff}, nullptr, "olduser", "oldpw", "OLDDOM",
         "<missing>", {R::notAsked, R::notAsked, R::notAsked, R::written}},
        {"no rights to Winlogon", {"alice", "secret", "OFFICE", C::reloadOn}, winlogonKeyPath, "olduser",
         "oldpw", "OLDDOM", " -u=alice -p=secret -dOFFICE", {R::failed, R::failed, R::failed, R::written}},
        {"no rights to RunOnce", {"alice", nullptr, nullptr, C::reloadOn}, runOnceKeyPath, "alice", "oldpw",
         "OLDDOM", "stored entry", {R::written, R::notAsked, R::notAsked, R::failed}},
        {"a command too long", {nullptr, tooLong.c_str(), nullptr, C::reloadOn}, nullptr, "olduser", tooLong,
         "OLDDOM", "<missing>", {R::notAsked, R::written, R::notAsked, R::commandTooLong}},
    };
    for (const Case& c : cases) {
        ResetValues();
        ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "olduser", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultPassword", "oldpw", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultDomainName", "OLDDOM", KEY_WOW64_64KEY));
        ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "stored entry", KEY_WOW64_64KEY));
        std::optional<CReadOnlyKey> readOnly;
        if (c.readOnlyKey != nullptr) {
            ASSERT_TRUE(readOnly.emplace(c.readOnlyKey, KEY_WOW64_64KEY).IsApplied()) << c.label;
        }
        CWinlogonSettings settings;
        const CWinlogonResult result = settings.Apply(c.change);
        readOnly.reset();
        EXPECT_EQ(Winlogon("DefaultUserName"), c.userName) << c.label;
        EXPECT_EQ(Winlogon("DefaultPassword"), c.password) << c.label;
        EXPECT_EQ(Winlogon("DefaultDomainName"), c.domain) << c.label;
        EXPECT_EQ(Entry(), c.entry[0] == ' ' ? program + c.entry : c.entry) << c.label;
        const std::vector<R::Outcome> outcomes = {result.m_userName, result.m_password, result.m_domain,
                                                  result.m_reload};
        EXPECT_EQ(outcomes, c.outcomes) << c.label << ": the outcomes";
    }
}

TEST_F(WinlogonSettingsTest, DeniedReloadOffWithoutEntrySucceeds)
{
    CReadOnlyKey runOnce(runOnceKeyPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(runOnce.IsApplied());
    CWinlogonSettings settings;
    EXPECT_TRUE(settings.SetReload(false));
}

} // namespace

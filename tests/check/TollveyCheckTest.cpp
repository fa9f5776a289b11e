// TollveyCheck.exe run against registry states that will and will not let Windows log on by
// itself. Under Wine, LookupAccountNameW knows the prefix's own user (the Linux user running Wine)
// on this computer and answers ERROR_NONE_MAPPED for any other name; the prefix is in no domain.
#include "ExitStatus.h"
#include "Process.h"
#include "WinlogonFixture.h"

#include <functional>
#include <vector>

namespace {

const char* const password = "pa55-w0rd";
const std::string nul(sizeof(wchar_t), '\0');

std::string ThisComputer()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? Utf8(name) : "<no computer>";
}

bool Set(const char* name, const std::string& text)
{
    return WriteText(winlogonPath, name, text, KEY_WOW64_64KEY);
}

bool SetCount(DWORD count)
{
    const CRegistryValue value = {"AutoLogonCount", REG_DWORD, std::string(reinterpret_cast<char*>(&count), 4)};
    return WriteValue(winlogonPath, value, KEY_WOW64_64KEY);
}

class TollveyCheckTest : public CWinlogonFixture
{
protected:
    TollveyCheckTest() : m_policies({systemPoliciesPath}) {}

    // A computer that will log on by itself: the prefix's own account, with a password.
    static bool WillLogOn()
    {
        ResetValues();
        RemoveValue(winlogonPath, "AutoLogonCount", KEY_WOW64_64KEY);
        RemoveValue(systemPoliciesPath, "LegalNoticeCaption", KEY_WOW64_64KEY);
        RemoveValue(systemPoliciesPath, "LegalNoticeText", KEY_WOW64_64KEY);
        RemoveValue(systemPoliciesPath, "scforceoption", KEY_WOW64_64KEY);
        return Set("AutoAdminLogon", "1") && Set("DefaultUserName", ThisUser()) && Set("DefaultPassword", password) &&
               Set("DefaultDomainName", ThisComputer());
    }

    CRegistrySnapshot m_policies;
};

TEST_F(TollveyCheckTest, NamesWhatStopsAutomaticLogonAndChangesNothing)
{
    const std::string me = ThisComputer() + "\\" + ThisUser();
    struct Case
    {
        const char* label;
        std::function<bool()> change;
        unsigned status;
        std::string line; // one line of the output
        const char* arguments = "";
    };
    const Case cases[] = {
        {"will log on", [] { return true; }, exitWillLogOn, "ok    account " + me + " exists"},
        {"AutoAdminLogon 0", [] { return Set("AutoAdminLogon", "0"); }, exitStopped,
         "STOP  AutoAdminLogon is not 1: automatic logon is off"},
        {"no user name", [] { return Set("DefaultUserName", ""); }, exitStopped,
         "STOP  DefaultUserName is empty: there is no account to log on"},
        // Wine's LsaRetrievePrivateData is a stub that always answers "not found": a computer with
        // the LSA secret DefaultPassword cannot be made here.
        {"no password", [] { RemoveValue(winlogonPath, "DefaultPassword", KEY_WOW64_64KEY); return true; }, exitStopped,
         "STOP  DefaultPassword is not there: without it Windows switches automatic logon off"},
        {"no logon left", [] { return SetCount(0); }, exitStopped, "STOP  AutoLogonCount is 0: no automatic logon is left"},
        {"logons left", [] { return SetCount(2); }, exitWillLogOn,
         "ok    AutoLogonCount is 2: each automatic logon counts it down"},
        {"message title", [] { return WriteText(systemPoliciesPath, "LegalNoticeCaption", "Notice", KEY_WOW64_64KEY); },
         exitStopped, "STOP  LegalNoticeCaption is set"},
        {"message title with half a surrogate pair",
         [] { return WriteText(systemPoliciesPath, "LegalNoticeCaption", "\xED\xA0\x80", KEY_WOW64_64KEY); }, exitStopped,
         "STOP  LegalNoticeCaption is set"},
        // As a security policy keeps it: a list of lines, the first of which may be empty.
        {"message text",
         [] {
             return WriteValue(systemPoliciesPath,
                               {"LegalNoticeText", REG_MULTI_SZ, nul + Utf16Bytes("Authorised users") + nul + nul},
                               KEY_WOW64_64KEY);
         },
         exitStopped, "STOP  LegalNoticeText is set"},
        {"no such local account", [] { return Set("DefaultUserName", "kiosk"); }, exitStopped,
         "STOP  account " + ThisComputer() + "\\kiosk: this computer has no account kiosk"},
        // Without a domain, Winlogon asks this computer.
        {"no such account, no domain", [] { return Set("DefaultUserName", "Дмитрий") && Set("DefaultDomainName", ""); },
         exitStopped, "STOP  account " + ThisComputer() + "\\Дмитрий: this computer has no account Дмитрий"},
        {"the domain in the user name", [] { return Set("DefaultUserName", ThisComputer() + "\\" + ThisUser()) && Set("DefaultDomainName", ""); },
         exitWillLogOn, "ok    account " + me + " exists\r\n"},
        // Wine answers for this user whatever domain it is asked with.
        {"a domain this computer is not in", [] { return Set("DefaultUserName", "CORP\\" + ThisUser()) && Set("DefaultDomainName", ""); },
         exitStopped, "STOP  account CORP\\" + ThisUser() + ": Windows answered with an account of " + ThisComputer() + ", not of CORP"},
        // Wine answers level 1 of NetUserGetInfo alone, with no flag set.
        {"the account's own state", [] { return true; }, exitWillLogOn, "ok    account " + me + " is enabled, not locked out"},
        {"AutoAdminLogon a REG_DWORD",
         [] { return WriteValue(winlogonPath, {"AutoAdminLogon", REG_DWORD, std::string("\1\0\0\0", 4)}, KEY_WOW64_64KEY); },
         exitNotChecked, "?     AutoAdminLogon is a REG_DWORD (1), not the REG_SZ Microsoft documents"},
        {"empty password", [] { return Set("DefaultPassword", ""); }, exitWillLogOn,
         "note  DefaultPassword is empty: it serves only an account without a password"},
        // This computer is in no domain.
        {"a domain's account", [] { return Set("DefaultUserName", "kiosk") && Set("DefaultDomainName", "CORP"); }, exitStopped,
         "STOP  account CORP\\kiosk: this computer is in no domain"},
        {"this computer written two ways", [] { return Set("DefaultUserName", ".\\" + ThisUser()); }, exitWillLogOn,
         "ok    account " + me + " exists"},
        {"a user@domain name", [] { return Set("DefaultUserName", ThisUser() + "@example.com"); }, exitWillLogOn,
         "?     account " + ThisUser() + "@example.com: a Microsoft account or an account of another directory"},
        {"a name that is no user", [] { return Set("DefaultUserName", ThisComputer()); }, exitStopped,
         "STOP  account " + ThisComputer() + "\\" + ThisComputer() + ": " + ThisComputer() + " is a domain, not a user"},
        {"smart card required by policy",
         [] { return WriteValue(systemPoliciesPath, {"scforceoption", REG_DWORD, std::string("\1\0\0\0", 4)}, KEY_WOW64_64KEY); },
         exitStopped, "STOP  scforceoption is 1"},
        {"a message of blanks alone", [] { return WriteText(systemPoliciesPath, "LegalNoticeText", " ", KEY_WOW64_64KEY); },
         exitNotChecked, "?     LegalNoticeText holds blanks alone"},
        {"start-up entry", [] { return WriteText(runOncePath, "Tollvey", password, KEY_WOW64_64KEY); }, exitWillLogOn,
         "note  start-up entry Tollvey is there"},
        // Wine's LogonUserW takes any password.
        {"the credentials tried", [] { return true; }, exitWillLogOn,
         "ok    logon as .\\" + ThisUser() + " with the password Windows will use: Windows accepts it", "-logon"},
        {"as JSON", [] { return Set("AutoAdminLogon", "0"); }, exitStopped,
         "{\"status\": 1, \"verdict\": \"Windows will not log on by itself at the next start-up: see STOP above.\", "
         "\"findings\": [{\"mark\": \"STOP\", \"about\": \"AutoAdminLogon\"", "-json"},
        {"both", [] { return true; }, exitWillLogOn, "\"about\": \"logon\", \"text\": \"logon as .\\\\", "-logon -json"},
        {"usage", [] { return true; }, exitWillLogOn, "-?      help", "-?"},
        {"an unknown option", [] { return true; }, exitNotChecked, "Invalid argument: -x", "-x"},
    };
    const std::string program = "\"" + WindowsPath(TOLLVEY_CHECK_UNIX_PATH) + "\" ";
    for (const Case& c : cases) {
        ASSERT_TRUE(WillLogOn() && c.change()) << c.label;
        const auto before = ReadAllValues({winlogonPath, runOncePath, systemPoliciesPath});
        ASSERT_TRUE(before) << c.label << ": the registry as it was";
        const CProcessResult run = RunProcess(program + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.label << ": " << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.label << ": " << run.output;
        EXPECT_EQ(run.output.find(password), std::string::npos) << c.label << ": the password is not shown";
        EXPECT_TRUE(ReadAllValues({winlogonPath, runOncePath, systemPoliciesPath}) == before) << c.label << ": the registry is as it was";
    }
}

} // namespace

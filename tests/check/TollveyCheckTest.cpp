// TollveyCheck.exe run against registry states that will and will not let Windows log on by
// itself. Under Wine, LookupAccountNameW knows the prefix's own user (the Linux user running Wine)
// on this computer and answers ERROR_NONE_MAPPED for any other name; the prefix is in no domain.
#include "Process.h"
#include "WinlogonFixture.h"

#include <functional>
#include <vector>

namespace {

const char* const policiesKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
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
    return WriteText(winlogonKeyPath, name, text, KEY_WOW64_64KEY);
}

bool SetCount(DWORD count)
{
    const CRegistryValue value = {"AutoLogonCount", REG_DWORD, std::string(reinterpret_cast<char*>(&count), 4)};
    return WriteValue(winlogonKeyPath, value, KEY_WOW64_64KEY);
}

class TollveyCheckTest : public CWinlogonFixture
{
protected:
    TollveyCheckTest() : m_policies({policiesKeyPath}) {}

    // A computer that will log on by itself: the prefix's own account, with a password.
    static bool WillLogOn()
    {
        ResetValues();
        RemoveValue(winlogonKeyPath, "AutoLogonCount", KEY_WOW64_64KEY);
        RemoveValue(policiesKeyPath, "LegalNoticeCaption", KEY_WOW64_64KEY);
        RemoveValue(policiesKeyPath, "LegalNoticeText", KEY_WOW64_64KEY);
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
        unsigned long status;
        std::string line; // one line of the output
        const char* arguments = "";
    };
    const Case cases[] = {
        {"will log on", [] { return true; }, 0, "ok    account " + me + " exists"},
        {"AutoAdminLogon 0", [] { return Set("AutoAdminLogon", "0"); }, 1,
         "STOP  AutoAdminLogon is not 1: automatic logon is off"},
        {"no user name", [] { return Set("DefaultUserName", ""); }, 1,
         "STOP  DefaultUserName is empty: there is no account to log on"},
        // Wine's LsaRetrievePrivateData is a stub that always answers "not found": a computer with
        // the LSA secret DefaultPassword cannot be made here.
        {"no password", [] { RemoveValue(winlogonKeyPath, "DefaultPassword", KEY_WOW64_64KEY); return true; }, 1,
         "STOP  DefaultPassword is not there: without it Windows switches automatic logon off"},
        {"no logon left", [] { return SetCount(0); }, 1, "STOP  AutoLogonCount is 0: no automatic logon is left"},
        {"logons left", [] { return SetCount(2); }, 0,
         "ok    AutoLogonCount is 2: each automatic logon counts it down"},
        {"message title", [] { return WriteText(policiesKeyPath, "LegalNoticeCaption", "Notice", KEY_WOW64_64KEY); },
         1, "STOP  LegalNoticeCaption is set"},
        {"message title with half a surrogate pair",
         [] { return WriteText(policiesKeyPath, "LegalNoticeCaption", "\xED\xA0\x80", KEY_WOW64_64KEY); }, 1,
         "STOP  LegalNoticeCaption is set"},
        // As a security policy keeps it: a list of lines.
        {"message text",
         [] {
             return WriteValue(policiesKeyPath,
                               {"LegalNoticeText", REG_MULTI_SZ, Utf16Bytes("Authorised users") + nul + nul},
                               KEY_WOW64_64KEY);
         },
         1, "STOP  LegalNoticeText is set"},
        {"no such local account", [] { return Set("DefaultUserName", "kiosk"); }, 1,
         "STOP  account " + ThisComputer() + "\\kiosk: this computer has no account kiosk"},
        {"no such account, no domain", [] { return Set("DefaultUserName", "Дмитрий") && Set("DefaultDomainName", ""); },
         1, "STOP  account Дмитрий: this computer has no account Дмитрий"},
        {"a domain's account", [] { return Set("DefaultUserName", "kiosk") && Set("DefaultDomainName", "CORP"); }, 0,
         "?     account CORP\\kiosk could not be checked: not found now, and a domain controller may be out of "
         "reach"},
        {"start-up entry", [] { return WriteText(runOnceKeyPath, "Tollvey", password, KEY_WOW64_64KEY); }, 0,
         "note  start-up entry Tollvey is there"},
        {"usage", [] { return true; }, 0, "-?  help", "-?"},
        {"an unknown option", [] { return true; }, 2, "Invalid argument: -x", "-x"},
    };
    const std::string program = "\"" + WindowsPath(TOLLVEY_CHECK_UNIX_PATH) + "\" ";
    for (const Case& c : cases) {
        ASSERT_TRUE(WillLogOn() && c.change()) << c.label;
        const auto before = ReadAllValues({winlogonKeyPath, runOnceKeyPath, policiesKeyPath});
        ASSERT_TRUE(before) << c.label << ": the registry as it was";
        const CProcessResult run = RunProcess(program + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.label << ": " << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.label << ": " << run.output;
        EXPECT_EQ(run.output.find(password), std::string::npos) << c.label << ": the password is not shown";
        EXPECT_TRUE(ReadAllValues({winlogonKeyPath, runOnceKeyPath, policiesKeyPath}) == before) << c.label << ": the registry is as it was";
    }
}

} // namespace

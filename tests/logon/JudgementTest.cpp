// What TollveyCheck.exe concludes from a state of Windows, every branch, among them those Wine cannot
// make: a secret that holds the password, an account that is disabled, a domain out of reach.
#include "ExitStatus.h"
#include "Judgement.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace {

const char* const password = "pa55-w0rd";
// Tuesday 2025-12-09 20:00 UTC: hour 2 * 24 + 20 of the week.
const unsigned long long tuesdayEvening = 1765310400;

CValueRead Value(const char* text, unsigned long type = regSz, unsigned long number = 0)
{
    CValueRead value;
    value.state = CValueRead::read;
    value.type = type;
    value.text.Assign(text);
    value.number = number;
    return value;
}

CValueRead Unreadable()
{
    CValueRead value;
    value.state = CValueRead::unreadable;
    value.reason.Assign("Access denied (error 5)");
    return value;
}

// A computer that will log on by itself: a local account, fully answered for.
CLogonState WillLogOn()
{
    CLogonState state;
    state.winlogonRead = true;
    state.autoAdminLogon = Value("1");
    state.userName = Value("kiosk");
    state.password = Value(password);
    state.domain = Value("KIOSK-07");
    state.computer.name.Assign("KIOSK-07");
    state.computer.dnsName.Assign("kiosk-07");
    state.lookup.answer = CAccountLookup::found;
    state.lookup.foundIn.Assign("KIOSK-07");
    state.account.answer = CAccountState::answered;
    state.account.detailed = true;
    state.account.passwordAgeKnown = true;
    state.rights.answer = CLogonRights::answered;
    state.rights.allowed = true;
    state.secret.answer = CPasswordSecret::none;
    state.now = tuesdayEvening;
    return state;
}

void InDomain(CLogonState& state)
{
    state.computer.membership = CComputer::member;
    state.computer.domainName.Assign("CORP");
    state.computer.domainDnsName.Assign("corp.example.com");
    state.computer.dnsName.Assign("kiosk-07.corp.example.com");
    state.lookup.foundIn.Assign("CORP");
}

std::string Report(const CLogonState& state, unsigned& status)
{
    CFindings findings;
    status = Judge(state, findings);
    CHeapString report;
    AppendReport(findings, status, report);
    return report.GetText();
}

TEST(Judgement, ReportsEachThingCheckedInOrderThenTheVerdict)
{
    unsigned status = 99;
    EXPECT_EQ(Report(WillLogOn(), status),
              "ok    AutoAdminLogon is 1\n"
              "ok    DefaultUserName is kiosk\n"
              "ok    DefaultPassword is there (not shown)\n"
              "ok    AutoLogonCount is not there: automatic logons are not counted\n"
              "ok    LegalNoticeCaption is empty (policy \"Interactive logon: Message title for users attempting to log on\")\n"
              "ok    LegalNoticeText is empty (policy \"Interactive logon: Message text for users attempting to log on\")\n"
              "ok    scforceoption is not there (policy \"Interactive logon: Require smart card\")\n"
              "ok    account KIOSK-07\\kiosk exists\n"
              "ok    account KIOSK-07\\kiosk is enabled, not locked out, does not itself require a smart card, and its "
              "password has not expired; it has not expired, and may log on at this hour and at this computer\n"
              "ok    account KIOSK-07\\kiosk may log on locally, and nothing denies it\n"
              "ok    LSA secret DefaultPassword is not there\n"
              "ok    start-up entry Tollvey is not there\n"
              "\n"
              "Windows will log on by itself at the next start-up, as far as this program can tell.\n");
    EXPECT_EQ(status, exitWillLogOn);
}

TEST(Judgement, EachStateGivesItsLineAndVerdict)
{
    using S = CLogonState&;
    struct Case
    {
        const char* label;
        std::function<void(S)> change;
        std::string line;
        unsigned status;
    };
    const Case cases[] = {
        // Winlogon's values, each by the type Microsoft documents for it.
        {"Winlogon key unreadable", [](S s) { s.winlogonRead = false; s.winlogonReason.Assign("Access denied (error 5)"); },
         "?     the Winlogon key HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\WinLogon could "
         "not be read: Access denied (error 5)", exitNotChecked},
        {"AutoAdminLogon 0", [](S s) { s.autoAdminLogon = Value("0"); },
         "STOP  AutoAdminLogon is not 1: automatic logon is off", exitStopped},
        {"AutoAdminLogon missing", [](S s) { s.autoAdminLogon = CValueRead(); },
         "STOP  AutoAdminLogon is not there: automatic logon is off", exitStopped},
        {"AutoAdminLogon a REG_DWORD", [](S s) { s.autoAdminLogon = Value("", regDword, 1); },
         "?     AutoAdminLogon is a REG_DWORD (1), not the REG_SZ Microsoft documents: what Windows does with it is "
         "not documented", exitNotChecked},
        {"AutoAdminLogon unreadable", [](S s) { s.autoAdminLogon = Unreadable(); },
         "?     AutoAdminLogon could not be read: Access denied (error 5)", exitNotChecked},
        {"DefaultUserName empty", [](S s) { s.userName = Value(""); },
         "STOP  DefaultUserName is empty: there is no account to log on", exitStopped},
        {"DefaultUserName missing", [](S s) { s.userName = CValueRead(); },
         "STOP  DefaultUserName is not there: there is no account to log on", exitStopped},
        {"DefaultUserName a REG_EXPAND_SZ", [](S s) { s.userName = Value("kiosk", regExpandSz); },
         "?     account: not looked up, as DefaultUserName or DefaultDomainName could not be judged", exitNotChecked},
        {"DefaultDomainName a REG_MULTI_SZ", [](S s) { s.domain = Value("KIOSK-07", regMultiSz); },
         "?     DefaultDomainName is a REG_MULTI_SZ, not the REG_SZ Microsoft documents: what Windows does with it "
         "is not documented", exitNotChecked},
        {"DefaultPassword empty", [](S s) { s.password = Value(""); },
         "note  DefaultPassword is empty: it serves only an account without a password", exitWillLogOn},
        {"DefaultPassword missing", [](S s) { s.password = CValueRead(); },
         "STOP  DefaultPassword is not there: without it Windows switches automatic logon off\n", exitStopped},
        {"DefaultPassword missing, secret unreadable", [](S s) {
             s.password = CValueRead(); s.secret.answer = CPasswordSecret::unknown; s.secret.reason.Assign("(error 5)"); },
         "?     DefaultPassword is not there, and the LSA secret DefaultPassword, which Windows uses first, could not be "
         "read: (error 5): run it elevated", exitNotChecked},
        {"DefaultPassword missing, secret there", [](S s) { s.password = CValueRead(); s.secret.answer = CPasswordSecret::there; },
         "ok    DefaultPassword is not there, and the LSA secret DefaultPassword holds the password", exitWillLogOn},
        {"DefaultPassword a REG_BINARY", [](S s) { s.password.type = regBinary; },
         "?     DefaultPassword is a REG_BINARY, not the REG_SZ Microsoft documents", exitNotChecked},
        {"DefaultPassword a REG_BINARY beside the secret", [](S s) { s.password.type = regBinary; s.secret.answer = CPasswordSecret::there; },
         "?     DefaultPassword is a REG_BINARY", exitWillLogOn},
        {"AutoLogonCount 0", [](S s) { s.autoLogonCount = Value("", regDword, 0); },
         "STOP  AutoLogonCount is 0: no automatic logon is left", exitStopped},
        {"AutoLogonCount 2", [](S s) { s.autoLogonCount = Value("", regDword, 2); },
         "ok    AutoLogonCount is 2: each automatic logon counts it down", exitWillLogOn},
        {"AutoLogonCount a REG_SZ", [](S s) { s.autoLogonCount = Value("2"); },
         "?     AutoLogonCount is a REG_SZ, not the REG_DWORD Microsoft documents", exitNotChecked},
        // The logon message policies: any string type, set by any text but blanks and empty lines.
        {"message title", [](S s) { s.caption = Value("Notice"); }, "STOP  LegalNoticeCaption is set", exitStopped},
        {"message text after an empty line", [](S s) { s.message = Value("\nAuthorised users", regMultiSz); },
         "STOP  LegalNoticeText is set", exitStopped},
        {"message text of blanks and empty lines", [](S s) { s.message = Value(" \t\n\r\n", regMultiSz); },
         "?     LegalNoticeText holds blanks alone", exitNotChecked},
        {"message title not whole UTF-16", [](S s) {
             s.caption.state = CValueRead::unreadable; s.caption.status = statusNotWholeUtf16; },
         "STOP  LegalNoticeCaption is set", exitStopped},
        {"message title a REG_DWORD", [](S s) { s.caption = Value("", regDword, 1); },
         "?     LegalNoticeCaption is a REG_DWORD (1), not the REG_SZ Microsoft documents: what Windows does with it "
         "is not documented (policy", exitNotChecked},
        {"message text unreadable", [](S s) { s.message = Unreadable(); },
         "?     LegalNoticeText could not be read: Access denied (error 5) (policy", exitNotChecked},
        // The account as Winlogon asks for it.
        {"a domain in the user name, none in DefaultDomainName", [](S s) { s.userName = Value("KIOSK-07\\kiosk"); s.domain = CValueRead(); },
         "ok    account KIOSK-07\\kiosk exists\n", exitWillLogOn},
        {"a domain this computer is not in", [](S s) { s.userName = Value("CORP\\kiosk"); s.domain = Value(""); },
         "STOP  account CORP\\kiosk: Windows answered with an account of KIOSK-07, not of CORP", exitStopped},
        {"two domains named", [](S s) { s.userName = Value("CORP\\kiosk"); },
         "?     account kiosk: DefaultUserName names the domain CORP and DefaultDomainName the domain KIOSK-07: which "
         "one Winlogon asks is not documented", exitNotChecked},
        {"the same domain named twice", [](S s) { s.userName = Value("kiosk-07\\kiosk"); },
         "ok    account KIOSK-07\\kiosk exists", exitWillLogOn},
        {"a user principal name", [](S s) { InDomain(s); s.userName = Value("kiosk@corp.example.com"); },
         "ok    account kiosk@corp.example.com exists, in CORP", exitWillLogOn},
        {"DefaultDomainName .", [](S s) { s.domain = Value("."); }, "ok    account KIOSK-07\\kiosk exists", exitWillLogOn},
        {"the computer's domain by its DNS name", [](S s) { InDomain(s); s.domain = Value("corp.example.com"); },
         "ok    account corp.example.com\\kiosk exists", exitWillLogOn},
        {"another domain by its DNS name", [](S s) {
             s.domain = Value("other.example.com"); s.lookup.foundIn.Assign("OTHER"); s.lookup.askedDomainName.Assign("OTHER"); },
         "ok    account other.example.com\\kiosk exists", exitWillLogOn},
        {"this computer as . and by its name", [](S s) { s.userName = Value(".\\kiosk"); },
         "ok    account KIOSK-07\\kiosk exists", exitWillLogOn},
        {"the computer's domain by its NetBIOS and DNS names", [](S s) {
             InDomain(s); s.userName = Value("CORP\\kiosk"); s.domain = Value("corp.example.com"); },
         "ok    account CORP\\kiosk exists", exitWillLogOn},
        {"another domain's account, in no domain", [](S s) { s.domain = Value("CORP"); s.lookup.answer = CAccountLookup::notFound; },
         "STOP  account CORP\\kiosk: this computer is in no domain", exitStopped},
        {"a domain this member has no trust with", [](S s) {
             InDomain(s); s.domain = Value("OTHER"); s.lookup.answer = CAccountLookup::notFound; },
         "?     account OTHER\\kiosk was not found: OTHER is not this computer's domain, CORP", exitNotChecked},
        {"an account of Entra ID", [](S s) { s.userName = Value("AzureAD\\kiosk"); s.domain = CValueRead(); },
         "?     account AzureAD\\kiosk: an account of Microsoft Entra ID, which this program cannot check", exitWillLogOn},
        {"a Microsoft account, in no domain", [](S s) { s.userName = Value("kiosk@outlook.com"); s.lookup.answer = CAccountLookup::notFound; },
         "?     account kiosk@outlook.com: a Microsoft account or an account of another directory", exitWillLogOn},
        {"no such local account", [](S s) { s.lookup.answer = CAccountLookup::notFound; },
         "STOP  account KIOSK-07\\kiosk: this computer has no account kiosk", exitStopped},
        {"a domain's account not found", [](S s) { InDomain(s); s.domain = Value("CORP"); s.lookup.answer = CAccountLookup::notFound; },
         "?     account CORP\\kiosk could not be checked: not found now, and a domain controller may be out of reach",
         exitWillLogOn},
        {"the look-up failed", [](S s) { s.lookup.answer = CAccountLookup::failed; s.lookup.reason.Assign("Busy (error 170)"); },
         "?     account KIOSK-07\\kiosk could not be checked: Busy (error 170)", exitWillLogOn},
        // The account's own state.
        {"disabled", [](S s) { s.account.disabled = true; }, "STOP  account KIOSK-07\\kiosk is disabled", exitStopped},
        {"locked out", [](S s) { s.account.lockedOut = true; }, "STOP  account KIOSK-07\\kiosk is locked out", exitStopped},
        {"password expired", [](S s) { s.account.passwordExpired = true; },
         "STOP  account KIOSK-07\\kiosk's password has expired", exitStopped},
        {"password to be changed", [](S s) { s.account.mustChangePassword = true; },
         "STOP  account KIOSK-07\\kiosk must change its password at the next logon", exitStopped},
        {"smart card required by the account", [](S s) { s.account.smartCardRequired = true; },
         "STOP  account KIOSK-07\\kiosk may log on only with a smart card, by its own setting", exitStopped},
        {"smart card required by the policy", [](S s) { s.smartCard = Value("", regDword, 1); },
         "STOP  scforceoption is 1 (policy \"Interactive logon: Require smart card\")", exitStopped},
        {"password expired by age", [](S s) {
             s.account.mustChangePassword = true; s.account.maxPasswordAge = 42 * 86400; s.account.passwordAge = 50 * 86400; },
         "STOP  account KIOSK-07\\kiosk's password has expired: it is older than the 42 days", exitStopped},
        {"a name that is no user", [](S s) { s.userName = Value("KIOSK-07"); s.lookup.kind = kindDomain; },
         "STOP  account KIOSK-07\\KIOSK-07: KIOSK-07 is a domain, not a user", exitStopped},
        {"denied to Everyone", [](S s) { s.rights.deniedTo.Assign("Everyone"); },
         "STOP  account KIOSK-07\\kiosk may not log on at this computer: \"Deny log on locally\" is given to Everyone",
         exitStopped},
        {"no allow found", [](S s) { s.rights.allowed = false; }, "?     account KIOSK-07\\kiosk: no \"Allow log on locally\"",
         exitWillLogOn},
        {"account expired", [](S s) { s.account.expires = tuesdayEvening - 60; },
         "STOP  account KIOSK-07\\kiosk has expired", exitStopped},
        {"account expiring later", [](S s) { s.account.expires = tuesdayEvening + 60; }, "ok    account KIOSK-07\\kiosk is enabled",
         exitWillLogOn},
        {"outside its logon hours at this hour", [](S s) { s.account.allHours = false; s.account.logonHours[(2 * 24 + 20) / 8] = 0xEF; },
         "?     account KIOSK-07\\kiosk may not log on at this hour, by its logon hours: whether it may at the next", exitWillLogOn},
        {"at no hour of the week", [](S s) { s.account.allHours = false; },
         "STOP  account KIOSK-07\\kiosk may log on at no hour of the week", exitStopped},
        {"within its logon hours", [](S s) { s.account.allHours = false; s.account.logonHours[(2 * 24 + 20) / 8] = 0x10; },
         "ok    account KIOSK-07\\kiosk is enabled", exitWillLogOn},
        {"logon hours not by the hour", [](S s) { s.account.allHours = false; s.account.unitsPerWeek = 7; },
         "?     account KIOSK-07\\kiosk's logon hours could not be checked: they are not kept by the hour", exitWillLogOn},
        {"this computer by its DNS name", [](S s) {
             InDomain(s); s.domain = Value("CORP"); s.account.workstations.Assign("kiosk-07.corp.example.com"); },
         "ok    account CORP\\kiosk is enabled", exitWillLogOn},
        {"other computers only", [](S s) { s.account.workstations.Assign("KIOSK-01,KIOSK-070"); },
         "STOP  account KIOSK-07\\kiosk may log on only at KIOSK-01,KIOSK-070, not at KIOSK-07", exitStopped},
        {"this computer among others", [](S s) { s.account.workstations.Assign("KIOSK-01,kiosk-07"); },
         "ok    account KIOSK-07\\kiosk is enabled", exitWillLogOn},
        {"state not answered", [](S s) { s.account.answer = CAccountState::failed; s.account.reason.Assign("Busy (error 170)"); },
         "?     account KIOSK-07\\kiosk's state could not be checked: Busy (error 170)", exitWillLogOn},
        {"flags alone", [](S s) { s.account.detailed = false; s.account.passwordAgeKnown = false; s.account.detailReason.Assign("(error 2140)"); },
         "?     account KIOSK-07\\kiosk's expiry, logon hours, computers and need to change its password could not be "
         "checked: (error 2140)", exitWillLogOn},
        {"all but the password's age", [](S s) { s.account.passwordAgeKnown = false; s.account.passwordAgeReason.Assign("(error 124)"); },
         "?     account KIOSK-07\\kiosk's need to change its password could not be checked: (error 124)", exitWillLogOn},
        // The LSA secret, which Windows uses instead of DefaultPassword.
        {"secret unreadable", [](S s) { s.secret.answer = CPasswordSecret::unknown; s.secret.reason.Assign("Access denied (error 5)"); },
         "?     LSA secret DefaultPassword could not be checked: Access denied (error 5)", exitWillLogOn},
        {"secret the same", [](S s) { s.secret.answer = CPasswordSecret::same; },
         "ok    LSA secret DefaultPassword is there, and holds the same password as DefaultPassword", exitWillLogOn},
        {"secret different", [](S s) { s.secret.answer = CPasswordSecret::differs; },
         "?     LSA secret DefaultPassword differs from DefaultPassword: Windows uses the secret, which may be the right "
         "one; -logon tries it", exitNotChecked},
        {"start-up entry", [](S s) { s.entry = Value("C:\\Tollvey.exe"); }, "note  start-up entry Tollvey is there", exitWillLogOn},
        {"start-up entry unreadable", [](S s) { s.entry = Unreadable(); },
         "?     start-up entry Tollvey could not be checked: Access denied (error 5)", exitWillLogOn},
        {"a stop outweighs what could not be judged", [](S s) { s.autoAdminLogon = Unreadable(); s.account.disabled = true; },
         "STOP  account KIOSK-07\\kiosk is disabled", exitStopped},
    };
    const auto verdict = [](unsigned status) {
        return status == exitWillLogOn ? "Windows will log on" : status == exitStopped ? "Windows will not log on"
                                                                                        : "Windows may not log on";
    };
    for (const Case& c : cases) {
        CLogonState state = WillLogOn();
        c.change(state);
        unsigned status = 99;
        const std::string report = Report(state, status);
        EXPECT_NE(report.find(c.line), std::string::npos) << c.label << ":\n" << report;
        EXPECT_EQ(status, c.status) << c.label << ":\n" << report;
        EXPECT_NE(report.find(verdict(c.status)), std::string::npos) << c.label << ": verdict";
    }
}

// Whatever the state, the report never holds the password.
TEST(Judgement, NoStateShowsThePassword)
{
    std::mt19937 random(20261209);
    const auto pick = [&random](std::initializer_list<const char*> texts) {
        return texts.begin()[std::uniform_int_distribution<size_t>(0, texts.size() - 1)(random)];
    };
    const unsigned long types[] = {regNone, regSz, regExpandSz, regBinary, regDword, regMultiSz, regQword, 42};
    const auto value = [&](std::initializer_list<const char*> texts) {
        CValueRead v = Value(pick(texts), types[random() % 8], random() % 3);
        v.state = static_cast<CValueRead::State>(random() % 3);
        return v;
    };
    for (int i = 0; i < 5000; ++i) {
        CLogonState state = WillLogOn();
        state.winlogonRead = random() % 20 != 0;
        state.password = value({password, "", "\n", " pa55-w0rd "});
        state.password.number = 987654321;
        state.autoAdminLogon = value({"1", "0", ""});
        state.userName = value({"kiosk", "CORP\\kiosk", "kiosk@corp.example.com", "\\kiosk", ""});
        state.domain = value({"KIOSK-07", ".", "CORP", "corp.example.com", ""});
        state.autoLogonCount = value({"", "2"});
        state.caption = value({"", "Notice", " \n"});
        state.message = value({"", "Authorised users"});
        state.lookup.answer = static_cast<CAccountLookup::Answer>(random() % 4);
        state.account.answer = static_cast<CAccountState::Answer>(random() % 3);
        state.account.detailed = random() % 2 == 0;
        state.account.disabled = random() % 2 == 0;
        state.secret.answer = static_cast<CPasswordSecret::Answer>(random() % 5);
        if (random() % 2 == 0)
            InDomain(state);
        unsigned status = 99;
        const std::string report = Report(state, status);
        ASSERT_EQ(report.find("pa55-w0rd"), std::string::npos) << "state " << i << ":\n" << report;
        ASSERT_EQ(report.find("987654321"), std::string::npos) << "state " << i << ":\n" << report;
        ASSERT_EQ(report.find("STOP  ") != std::string::npos, status == exitStopped) << "state " << i << ":\n" << report;
    }
}

} // namespace

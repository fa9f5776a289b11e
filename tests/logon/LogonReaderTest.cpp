// What the reader makes of each answer Windows may give, Wine never giving most of them: an
// account's state at each level, a domain controller that does not answer, the secret, the logon
// rights, each answer of LogonUserW. Windows' calls are answered by a table of the test's own.
#include "ExitStatus.h"
#include "LogonReader.h"
#include "WinlogonKeys.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

// What this Windows answers, and what it was asked.
struct CWindows
{
    std::map<std::string, std::string> values; // name: text, as REG_SZ
    bool member = false;
    std::map<std::string, CAccountLookup> accounts;
    unsigned long levelsRefused = 0; // of 4, 3, 2, 1: how many from the top refuse
    unsigned long flags = 0;
    unsigned long controller = 0;
    unsigned long secret = statusFileNotFound;
    std::string secretText;
    unsigned long groups = 0;
    std::map<std::string, int> rights; // SID: 1 allowed, 2 denied
    unsigned long logon = 0;
    std::string askedServer, askedUser, triedAs, triedPassword;
} w;

CAccountLookup Found(const char* domain, const char* sid, unsigned long kind = kindUser, const char* own = "kiosk")
{
    CAccountLookup found;
    found.foundIn.Assign(domain);
    found.sid.Assign(sid);
    found.kind = kind;
    found.accountName.Assign(own);
    return found;
}

const CLogonCalls fakeCalls = {
    [] { return 1765310400ULL; },
    [](const char*, const char* name, CValueRead& value) {
        const auto found = w.values.find(name);
        if (found != w.values.end())
            value.SetText(found->second.c_str());
        return 0UL;
    },
    [](CComputer& computer) {
        computer.name.Assign("KIOSK-07");
        computer.membership = w.member ? CComputer::member : CComputer::workgroup;
        computer.domainName.Assign(w.member ? "CORP" : "");
    },
    [](const char* name, CAccountLookup& found) {
        const auto known = w.accounts.find(name);
        if (known == w.accounts.end())
            return statusNoneMapped;
        found = known->second;
        return 0UL;
    },
    [](const char* server, const char* user, unsigned level, CUserInfo& info) {
        w.askedServer = server;
        w.askedUser = user;
        info.flags = w.flags;
        return 5 - level <= w.levelsRefused ? 2140UL : 0UL;
    },
    [](const char*, CHeapString& controller) {
        controller.Assign("\\\\DC1");
        return w.controller;
    },
    [](CHeapString& secret) {
        secret.Assign(w.secretText.c_str());
        return w.secret;
    },
    [](const char*, CHeapString& names) {
        names.Assign("Users,Kiosk users");
        return w.groups;
    },
    [](const char* sid, bool& allowed, bool& denied) {
        const auto held = w.rights.find(sid);
        allowed = held != w.rights.end() && held->second == 1;
        denied = held != w.rights.end() && held->second == 2;
        return held != w.rights.end() ? 0UL : statusFileNotFound;
    },
    [](const char* user, const char* domain, const char* password) {
        w.triedAs = std::string(domain != nullptr ? domain : "<none>") + "|" + user;
        w.triedPassword = password;
        return w.logon;
    },
    [](unsigned long status, CHeapString& text) {
        text.Append("(error ");
        text.AppendDecimal(status);
        text.Append(")");
    },
};

// A local account that will log on, its rights given to Users.
void LocalKiosk()
{
    w = CWindows();
    w.values = {{autoAdminLogonValue, "1"}, {userNameValue, "kiosk"}, {passwordValue, "pa55"}};
    w.accounts = {{"KIOSK-07\\kiosk", Found("KIOSK-07", "S-1-5-21-9-1001")},
                  {"Users", Found("BUILTIN", "S-1-5-32-545", kindAlias)},
                  {"Kiosk users", Found("KIOSK-07", "S-1-5-21-9-1002", kindAlias)}};
    w.rights = {{"S-1-5-32-545", 1}};
}

std::string Report(bool tryLogon, unsigned& status)
{
    CLogonState state;
    ReadLogonState(state, fakeCalls);
    if (tryLogon)
        TryLogon(state, fakeCalls);
    CFindings findings;
    status = Judge(state, findings);
    CHeapString report;
    AppendReport(findings, status, report);
    return report.GetText();
}

struct Case
{
    const char* label;
    std::function<void()> windows;
    std::string line;
    unsigned status;
};

void Expect(const Case& c, bool tryLogon)
{
    LocalKiosk();
    c.windows();
    unsigned status = 99;
    const std::string report = Report(tryLogon, status);
    EXPECT_NE(report.find(c.line), std::string::npos) << c.label << ":\n" << report;
    EXPECT_EQ(status, c.status) << c.label << ":\n" << report;
}

TEST(LogonReader, EachAnswerOfTheAccountItsRightsAndTheSecret)
{
    Case cases[] = {
        {"level 4 answers", [] { w.flags = flagDisabled; }, "STOP  account KIOSK-07\\kiosk is disabled", exitStopped},
        {"level 2 at most", [] { w.levelsRefused = 2; },
         "?     account KIOSK-07\\kiosk's need to change its password could not be checked: (error 2140)", exitWillLogOn},
        {"level 1 alone", [] { w.levelsRefused = 3; }, "could not be checked: (error 2140)", exitWillLogOn},
        {"no level", [] { w.levelsRefused = 4; }, "?     account KIOSK-07\\kiosk's state could not be checked: (error 2140)",
         exitWillLogOn},
        {"a domain's account, asked of its controller",
         [] { w.member = true; w.values[domainValue] = "CORP"; w.accounts["CORP\\kiosk"] = Found("CORP", "S-1-5-21-8-1101"); },
         "ok    account CORP\\kiosk is enabled", exitWillLogOn},
        {"no controller within the wait",
         [] { w.member = true; w.values[domainValue] = "CORP"; w.accounts["CORP\\kiosk"] = Found("CORP", "S-1-5-21-8-1101");
              w.controller = statusWaitedOut; },
         "?     account CORP\\kiosk's state could not be checked: no domain controller of CORP answered within 5 seconds",
         exitWillLogOn},
        {"a user@domain name, asked by its own name",
         [] { w.member = true; w.values[userNameValue] = "kiosk@corp.example.com";
              w.accounts["kiosk@corp.example.com"] = Found("CORP", "S-1-5-21-8-1101"); },
         "ok    account kiosk@corp.example.com is enabled", exitWillLogOn},
        {"denied to a local group", [] { w.rights["S-1-5-21-9-1002"] = 2; },
         "STOP  account KIOSK-07\\kiosk may not log on at this computer: \"Deny log on locally\" is given to Kiosk users",
         exitStopped},
        {"denied to INTERACTIVE", [] { w.rights["S-1-5-4"] = 2; }, "is given to INTERACTIVE", exitStopped},
        {"allowed to none", [] { w.rights.clear(); }, "?     account KIOSK-07\\kiosk: no \"Allow log on locally\"",
         exitWillLogOn},
        {"groups not listed", [] { w.groups = 5; },
         "?     account KIOSK-07\\kiosk's logon rights could not be checked: its local groups could not be listed: (error 5)",
         exitWillLogOn},
        {"secret the same", [] { w.secret = 0; w.secretText = "pa55"; }, "holds the same password", exitWillLogOn},
        {"secret different", [] { w.secret = 0; w.secretText = "other"; }, "?     LSA secret DefaultPassword differs",
         exitNotChecked},
        {"secret unreadable", [] { w.secret = 5; }, "?     LSA secret DefaultPassword could not be checked: (error 5)",
         exitWillLogOn},
    };
    for (const Case& c : cases)
        Expect(c, false);
    LocalKiosk();
    cases[6].windows();
    unsigned status = 99;
    Report(false, status);
    EXPECT_EQ(w.askedServer + "|" + w.askedUser, "\\\\DC1|kiosk") << "a user@domain name's state, asked by its own name";
}

// The credentials as Winlogon will use them; each answer of LogonUserW.
TEST(LogonReader, TriesTheCredentialsAsWinlogonWill)
{
    const std::string refused = "STOP  logon as .\\kiosk with the password Windows will use: (error ";
    Case cases[] = {
        {"logs on", [] {}, "ok    logon as .\\kiosk with the password Windows will use: Windows accepts it", exitWillLogOn},
        {"not at this hour", [] { w.logon = 1328; }, "?     logon as .\\kiosk with the password Windows will use: (error 1328): "
         "whether it may log on at the next start-up", exitWillLogOn},
        {"another answer", [] { w.logon = 1311; }, "?     logon as .\\kiosk", exitWillLogOn},
        {"an empty password", [] { w.values[passwordValue] = ""; }, "note  logon not tried: the password is empty", exitWillLogOn},
        {"a secret it cannot read", [] { w.secret = 5; }, "?     logon not tried: the LSA secret DefaultPassword, which "
         "Windows uses first, could not be read: run it elevated", exitWillLogOn},
        {"a domain's account without a controller",
         [] { w.member = true; w.values[domainValue] = "CORP"; w.accounts["CORP\\kiosk"] = Found("CORP", "S-1-5-21-8-1101");
              w.controller = statusWaitedOut; },
         "?     logon not tried: no domain controller of CORP answered within 5 seconds", exitWillLogOn},
    };
    for (const Case& c : cases)
        Expect(c, true);
    for (unsigned long answer : {1326, 1327, 1329, 1330, 1331, 1385, 1793, 1907, 1909})
        Expect({"a definite refusal", [answer] { w.logon = answer; }, refused + std::to_string(answer) + ")", exitStopped},
               true);

    LocalKiosk();
    w.secret = 0;
    w.secretText = "the-secret";
    unsigned status = 99;
    Report(true, status);
    EXPECT_EQ(w.triedAs, ".|kiosk") << "this computer's account, as Winlogon asks for it";
    EXPECT_EQ(w.triedPassword, "the-secret") << "the secret, which Windows uses first";
    w.values[userNameValue] = "kiosk@corp.example.com";
    Report(true, status);
    EXPECT_EQ(w.triedAs, "<none>|kiosk@corp.example.com") << "a user@domain name, without a domain";
}

} // namespace

#include "Judgement.h"

#include "ExitStatus.h"
#include "WinlogonKeys.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>

namespace {

// The Microsoft pages each finding rests on.
const char* const pageAutomaticLogon =
    "https://learn.microsoft.com/troubleshoot/windows-server/user-profiles-and-logon/turn-on-automatic-logon";
const char* const pageMsgina = "https://learn.microsoft.com/windows/win32/secauthn/msgina-dll-features";
const char* const pageLogonCount = "https://learn.microsoft.com/windows-hardware/customize/desktop/unattend/"
                                   "microsoft-windows-shell-setup-autologon-logoncount";
const char* const pageSecret =
    "https://learn.microsoft.com/windows/win32/secauthn/protecting-the-automatic-logon-password";
#define POLICY_PAGE(name)                                                                                         \
    "https://learn.microsoft.com/previous-versions/windows/it-pro/windows-10/security/threat-protection/"          \
    "security-policy-settings/" name
const char* const pageMessageTitle = POLICY_PAGE("interactive-logon-message-title-for-users-attempting-to-log-on");
const char* const pageMessageText = POLICY_PAGE("interactive-logon-message-text-for-users-attempting-to-log-on");
const char* const pageSmartCard = POLICY_PAGE("interactive-logon-require-smart-card");
const char* const pageDenyLocally = POLICY_PAGE("deny-log-on-locally");
const char* const pageAllowLocally = POLICY_PAGE("allow-log-on-locally");
const char* const pageLookup = "https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-lookupaccountnamew";
const char* const pageUserInfo = "https://learn.microsoft.com/windows/win32/api/lmaccess/nf-lmaccess-netusergetinfo";
const char* const pageLogonUser = "https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-logonuserw";
const char* const pageRunOnce = "https://learn.microsoft.com/windows/win32/setupapi/run-and-runonce-registry-keys";

// LogonUserW's answers that refuse the credentials for good, as Winlogon's logon would be refused:
// a wrong name or password, an account restriction, not at this computer, an expired password, a
// disabled account, a logon type not granted, an expired account, a password to be changed, a
// locked-out account.
const unsigned long definiteRefusals[] = {1326, 1327, 1329, 1330, 1331, 1385, 1793, 1907, 1909};
const unsigned long notAtThisHour = 1328;

// Findings about one thing, resting on one page.
class CJudge
{
public:
    explicit CJudge(CFindings& findings) : m_findings(findings) {}

    CJudge& About(const char* about, const char* page)
    {
        m_about = about;
        m_page = page;
        return *this;
    }
    void Add(CFinding::Kind kind, std::initializer_list<const char*> parts, bool decides = false)
    {
        CFinding finding = {kind, decides, CHeapString(), m_about, m_page};
        for (const char* part : parts)
            finding.text.Append(part);
        m_findings.push_back(finding);
    }
    size_t Count() const { return m_findings.size(); }
    bool StopsSince(size_t before) const
    {
        for (size_t i = before; i < m_findings.size(); ++i) {
            if (m_findings[i].kind == CFinding::stops)
                return true;
        }
        return false;
    }

private:
    CFindings& m_findings;
    const char* m_about = "";
    const char* m_page = "";
};

bool IsText(const CValueRead& value)
{
    return value.type == regSz || value.type == regExpandSz || value.type == regMultiSz;
}

const char* TypeName(unsigned long type)
{
    static const char* const names[] = {"REG_NONE", "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY",
                                        "REG_DWORD", "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ",
                                        "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR",
                                        "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD"};
    return type < sizeof names / sizeof names[0] ? names[type] : "value of an unknown type";
}

// A value that is there as Microsoft documents it (documented), or a finding for what keeps it
// from being judged: it could not be read, or it has another type, of which Microsoft documents
// nothing. Such a finding decides when the value does. A secret's data is never shown.
bool Judgeable(CJudge& judge, const CValueRead& value, const char* name, unsigned long documented, bool decides = true,
               const char* more = "", bool secret = false)
{
    if (value.state == CValueRead::unreadable) {
        judge.Add(CFinding::unknown, {name, " could not be read: ", value.reason.GetText(), more}, decides);
        return false;
    }
    if (value.state == CValueRead::missing || value.type == documented)
        return true;
    // A number is shown with its type.
    CHeapString data;
    if (value.type == regDword && !secret) {
        data.Assign(" (");
        data.AppendDecimal(value.number);
        data.Append(")");
    }
    judge.Add(CFinding::unknown,
              {name, " is a ", TypeName(value.type), data.GetText(), ", not the ", TypeName(documented),
               " Microsoft documents: what Windows does with it is not documented", more},
              decides);
    return false;
}

void JudgeWinlogon(const CLogonState& state, CJudge& judge)
{
    const CValueRead& on = state.autoAdminLogon;
    if (Judgeable(judge.About(autoAdminLogonValue, pageAutomaticLogon), on, autoAdminLogonValue, regSz)) {
        if (on.state == CValueRead::read && std::strcmp(on.text.GetText(), "1") == 0)
            judge.Add(CFinding::ok, {autoAdminLogonValue, " is 1"});
        else
            judge.Add(CFinding::stops, {autoAdminLogonValue, on.state == CValueRead::read ? " is not 1" : " is not there",
                                        ": automatic logon is off"});
    }
    const CValueRead& user = state.userName;
    if (Judgeable(judge.About(userNameValue, pageAutomaticLogon), user, userNameValue, regSz)) {
        if (user.state == CValueRead::read && !user.text.IsEmpty())
            judge.Add(CFinding::ok, {userNameValue, " is ", user.text.GetText()});
        else
            judge.Add(CFinding::stops, {userNameValue, user.state == CValueRead::read ? " is empty" : " is not there",
                                        ": there is no account to log on"});
    }
    static_cast<void>(Judgeable(judge.About(domainValue, pageAutomaticLogon), state.domain, domainValue, regSz));
}

bool SecretHoldsPassword(const CLogonState& state)
{
    return state.secret.answer == CPasswordSecret::there || state.secret.answer == CPasswordSecret::same ||
           state.secret.answer == CPasswordSecret::differs;
}

void JudgePassword(const CLogonState& state, CJudge& judge)
{
    const CValueRead& password = state.password;
    // Where the secret holds the password, Windows does not use this value.
    const bool inSecret = SecretHoldsPassword(state);
    if (!Judgeable(judge.About(passwordValue, pageAutomaticLogon), password, passwordValue, regSz, !inSecret, "", true))
        return;
    if (password.state == CValueRead::read && !password.text.IsEmpty())
        judge.Add(CFinding::ok, {passwordValue, " is there (not shown)"});
    else if (password.state == CValueRead::read)
        judge.Add(CFinding::note, {passwordValue, " is empty: it serves only an account without a password"});
    else if (inSecret)
        judge.About(passwordValue, pageSecret)
            .Add(CFinding::ok, {passwordValue, " is not there, and the LSA secret DefaultPassword holds the password"});
    // Windows looks for the secret first: one this program cannot read may hold the password.
    else if (state.secret.answer == CPasswordSecret::unknown)
        judge.About(passwordValue, pageSecret)
            .Add(CFinding::unknown,
                 {passwordValue, " is not there, and the LSA secret DefaultPassword, which Windows uses first, could "
                                 "not be read: ", state.secret.reason.GetText(), ": run it elevated"},
                 true);
    else
        judge.Add(CFinding::stops, {passwordValue, " is not there: without it Windows switches automatic logon off"});
}

void JudgeCount(const CLogonState& state, CJudge& judge)
{
    const CValueRead& count = state.autoLogonCount;
    if (!Judgeable(judge.About(autoLogonCountValue, pageLogonCount), count, autoLogonCountValue, regDword))
        return;
    if (count.state == CValueRead::missing) {
        judge.Add(CFinding::ok, {autoLogonCountValue, " is not there: automatic logons are not counted"});
        return;
    }
    CHeapString number;
    number.AppendDecimal(count.number);
    if (count.number == 0)
        judge.About(autoLogonCountValue, pageMsgina)
            .Add(CFinding::stops, {autoLogonCountValue, " is 0: no automatic logon is left"});
    else
        judge.Add(CFinding::ok, {autoLogonCountValue, " is ", number.GetText(),
                                 ": each automatic logon counts it down, and at 0 Windows switches automatic logon off"});
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Microsoft's one statement on it has the notice shown for any string that is not null; of one of
// blanks alone no page says.
void JudgePolicy(const CValueRead& value, const char* name, const char* policy, const char* page, CJudge& judge)
{
    judge.About(name, page);
    CHeapString about(" (policy \"Interactive logon: ");
    about.Append(policy);
    about.Append(" for users attempting to log on\")");
    // Any string type holds a message's text; one that is not whole UTF-16 holds more than blanks.
    const bool notWhole = value.state == CValueRead::unreadable && value.status == statusNotWholeUtf16;
    if (!notWhole && !Judgeable(judge, value, name, IsText(value) ? value.type : regSz, true, about.GetText()))
        return;
    const char* text = value.state == CValueRead::read ? value.text.GetText() : "";
    const char* end = text + std::strlen(text);
    const bool blanks = std::find_if(text, end, [](char c) { return !IsBlank(c); }) == end;
    if (notWhole || !blanks)
        judge.Add(CFinding::stops,
                  {name, " is set", about.GetText(), ": Windows shows a logon message and does not log on by itself"});
    else if (*text != '\0')
        judge.Add(CFinding::unknown,
                  {name, " holds blanks alone", about.GetText(),
                   ": whether Windows shows such a message, and so does not log on by itself, is not documented"},
                  true);
    else
        judge.Add(CFinding::ok, {name, " is empty", about.GetText()});
}

void JudgeSmartCardPolicy(const CLogonState& state, CJudge& judge)
{
    const CValueRead& policy = state.smartCard;
    const char* about = " (policy \"Interactive logon: Require smart card\")";
    if (!Judgeable(judge.About(smartCardPolicyValue, pageSmartCard), policy, smartCardPolicyValue, regDword, true, about))
        return;
    if (policy.state == CValueRead::read && policy.number == 1)
        judge.Add(CFinding::stops, {smartCardPolicyValue, " is 1", about,
                                    ": Windows logs on no one without a smart card, and so not by itself"});
    else
        judge.Add(CFinding::ok, {smartCardPolicyValue, policy.state == CValueRead::read ? " is not 1" : " is not there",
                                 about});
}

// Which domain a name stands for: this computer, however it is written, its domain, by either of
// its names, or another.
enum CDomainOf { ofThisComputer, ofComputersDomain, ofOther };

CDomainOf DomainOf(const char* domain, const CComputer& computer)
{
    if (domain[0] == '\0' || std::strcmp(domain, ".") == 0 || EqualsIgnoreCase(domain, computer.name.GetText()))
        return ofThisComputer;
    if (computer.membership == CComputer::member &&
        (EqualsIgnoreCase(domain, computer.domainName.GetText()) ||
         (!computer.domainDnsName.IsEmpty() && EqualsIgnoreCase(domain, computer.domainDnsName.GetText()))))
        return ofComputersDomain;
    return ofOther;
}

bool SameDomain(const char* a, const char* b, const CComputer& computer)
{
    const CDomainOf of = DomainOf(a, computer);
    return of == DomainOf(b, computer) && (of != ofOther || EqualsIgnoreCase(a, b));
}

bool IsCloudDomain(const char* domain)
{
    return EqualsIgnoreCase(domain, "AzureAD") || EqualsIgnoreCase(domain, "MicrosoftAccount");
}

const char* KindName(unsigned long kind)
{
    static const char* const names[] = {"a user", "a group", "a domain", "a local group", "a well-known group",
                                        "a deleted account", "no valid account", "an account of an unknown kind",
                                        "a computer", "a label"};
    return kind >= kindUser && kind <= kindLabel ? names[kind - kindUser] : names[kindUnknown - kindUser];
}

bool JudgeLookup(const CLogonState& state, const CAskedAccount& asked, CJudge& judge)
{
    judge.About("account", pageLookup);
    const char* name = asked.name.GetText();
    const CAccountLookup& lookup = state.lookup;
    const bool inNoDomain = state.computer.membership == CComputer::workgroup;
    switch (lookup.answer) {
    case CAccountLookup::found:
        if (!FoundWhereAsked(state, asked)) {
            judge.Add(CFinding::stops, {"account ", name, ": Windows answered with an account of ",
                                        lookup.foundIn.GetText(), ", not of ", asked.domain.GetText()});
            return false;
        }
        if (lookup.kind != kindUser) {
            judge.Add(CFinding::stops, {"account ", name, ": ", asked.where == CAskedAccount::asGiven ? name : asked.user.GetText(),
                                        " is ", KindName(lookup.kind), ", not a user"});
            return false;
        }
        if (asked.where == CAskedAccount::asGiven)
            judge.Add(CFinding::ok, {"account ", name, " exists, in ", lookup.foundIn.GetText()});
        else
            judge.Add(CFinding::ok, {"account ", name, " exists"});
        return true;
    case CAccountLookup::notFound:
        if (asked.where == CAskedAccount::thisComputer)
            judge.Add(CFinding::stops, {"account ", name, ": this computer has no account ", asked.user.GetText()});
        else if (asked.where == CAskedAccount::otherDomain && inNoDomain)
            judge.Add(CFinding::stops, {"account ", name, ": this computer is in no domain, so no account of ",
                                        asked.domain.GetText(), " can log on at it"});
        else if (asked.where == CAskedAccount::otherDomain && state.computer.membership == CComputer::member)
            judge.Add(CFinding::unknown,
                      {"account ", name, " was not found: ", asked.domain.GetText(), " is not this computer's domain, ",
                       state.computer.domainName.GetText(), ", and this computer may have no trust with it"},
                      true);
        else if (asked.where == CAskedAccount::asGiven && inNoDomain)
            judge.Add(CFinding::unknown, {"account ", name, ": a Microsoft account or an account of another directory, "
                                          "which this computer, in no domain, does not know now"});
        else
            judge.Add(CFinding::unknown,
                      {"account ", name, " could not be checked: not found now, and a domain controller may be out of reach"});
        return false;
    case CAccountLookup::failed:
        judge.Add(CFinding::unknown, {"account ", name, " could not be checked: ", lookup.reason.GetText()});
        return false;
    case CAccountLookup::notAsked:
        break;
    }
    return false;
}

// The hour of the week, from Sunday 00:00 UTC: 1970-01-01 was a Thursday.
unsigned HourOfWeek(unsigned long long now)
{
    return static_cast<unsigned>(((now / 86400 + 4) % 7) * 24 + now / 3600 % 24);
}

bool AnyHour(const CAccountState& account)
{
    for (unsigned char hours : account.logonHours) {
        if (hours != 0)
            return true;
    }
    return false;
}

// Whether the comma-separated list of computers names this one, by its NetBIOS or its DNS name.
bool MayLogOnAt(const char* workstations, const CComputer& computer)
{
    if (workstations[0] == '\0')
        return true;
    for (const char* p = workstations;; ++p) {
        const char* end = std::strchr(p, ',');
        CHeapString name;
        name.Assign(p, end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p));
        if (EqualsIgnoreCase(name.GetText(), computer.name.GetText()) ||
            (!computer.dnsName.IsEmpty() && EqualsIgnoreCase(name.GetText(), computer.dnsName.GetText())))
            return true;
        if (end == nullptr)
            return false;
        p = end;
    }
}

void JudgePasswordAge(const CAccountState& account, const char* name, CJudge& judge)
{
    if (account.passwordExpired) {
        judge.Add(CFinding::stops, {"account ", name, "'s password has expired"});
        return;
    }
    if (!account.passwordAgeKnown || !account.mustChangePassword)
        return;
    // Windows says the same of a password past the longest age allowed and of one an administrator
    // marked to be changed.
    const bool outOfTime = !account.passwordNeverExpires && account.maxPasswordAge != CAccountState::never &&
                           account.passwordAge >= account.maxPasswordAge;
    if (outOfTime) {
        CHeapString days;
        days.AppendDecimal(account.maxPasswordAge / 86400);
        judge.Add(CFinding::stops, {"account ", name, "'s password has expired: it is older than the ", days.GetText(),
                                    " days a password may be"});
    } else {
        judge.Add(CFinding::stops, {"account ", name, " must change its password at the next logon"});
    }
}

void JudgeAccountState(const CLogonState& state, const char* name, CJudge& judge)
{
    judge.About("account", pageUserInfo);
    const CAccountState& account = state.account;
    if (account.answer != CAccountState::answered) {
        if (account.answer == CAccountState::failed)
            judge.Add(CFinding::unknown, {"account ", name, "'s state could not be checked: ", account.reason.GetText()});
        return;
    }
    const size_t before = judge.Count();
    if (account.disabled)
        judge.Add(CFinding::stops, {"account ", name, " is disabled"});
    if (account.lockedOut)
        judge.Add(CFinding::stops, {"account ", name, " is locked out"});
    JudgePasswordAge(account, name, judge);
    if (account.smartCardRequired)
        judge.Add(CFinding::stops, {"account ", name, " may log on only with a smart card, by its own setting"});
    bool otherHour = false;
    if (account.detailed) {
        if (account.expires != CAccountState::never && account.expires <= state.now)
            judge.Add(CFinding::stops, {"account ", name, " has expired"});
        const unsigned hour = HourOfWeek(state.now);
        if (account.unitsPerWeek != 168 && !account.allHours)
            judge.Add(CFinding::unknown,
                      {"account ", name, "'s logon hours could not be checked: they are not kept by the hour"});
        else if (!account.allHours && !AnyHour(account))
            judge.Add(CFinding::stops, {"account ", name, " may log on at no hour of the week, by its logon hours"});
        // The next start-up may fall at another hour.
        else if (!account.allHours && (account.logonHours[hour / 8] >> (hour % 8) & 1) == 0)
            otherHour = true;
        if (!MayLogOnAt(account.workstations.GetText(), state.computer))
            judge.Add(CFinding::stops, {"account ", name, " may log on only at ", account.workstations.GetText(),
                                        ", not at ", state.computer.name.GetText()});
    }
    if (otherHour)
        judge.Add(CFinding::unknown, {"account ", name, " may not log on at this hour, by its logon hours: whether it "
                                      "may at the next start-up depends on its hour"});
    // The levels that hold these are asked from the fullest down, so the one refused is the last that
    // could have told them.
    const bool passwordAgeUnknown = !account.passwordAgeKnown && !account.passwordExpired;
    if (!account.detailed)
        judge.Add(CFinding::unknown, {"account ", name, "'s expiry, logon hours, computers",
                                      passwordAgeUnknown ? " and need to change its password" : "",
                                      " could not be checked: ", account.detailReason.GetText()});
    else if (passwordAgeUnknown)
        judge.Add(CFinding::unknown, {"account ", name, "'s need to change its password could not be checked: ",
                                      account.passwordAgeReason.GetText()});
    if (judge.StopsSince(before))
        return;
    judge.Add(CFinding::ok, {"account ", name,
                             " is enabled, not locked out, does not itself require a smart card, and its password has "
                             "not expired",
                             !account.detailed ? ""
                             : otherHour       ? "; it has not expired, and may log on at this computer"
                                               : "; it has not expired, and may log on at this hour and at this computer"});
}

void JudgeRights(const CLogonState& state, const char* name, CJudge& judge)
{
    const CLogonRights& rights = state.rights;
    if (rights.answer == CLogonRights::failed) {
        judge.About("logon rights", pageAllowLocally)
            .Add(CFinding::unknown, {"account ", name, "'s logon rights could not be checked: ", rights.reason.GetText()});
    } else if (!rights.deniedTo.IsEmpty()) {
        judge.About("logon rights", pageDenyLocally)
            .Add(CFinding::stops, {"account ", name, " may not log on at this computer: \"Deny log on locally\" is given to ",
                                   rights.deniedTo.GetText()});
    } else if (rights.answer == CLogonRights::answered && !rights.allowed) {
        // Windows answers for rights given directly alone, not for those a domain's groups hold.
        judge.About("logon rights", pageAllowLocally)
            .Add(CFinding::unknown, {"account ", name, ": no \"Allow log on locally\" was found given to it, its local "
                                     "groups, Everyone, Authenticated Users or INTERACTIVE"});
    } else if (rights.answer == CLogonRights::answered) {
        judge.About("logon rights", pageAllowLocally)
            .Add(CFinding::ok, {"account ", name, " may log on locally, and nothing denies it"});
    }
}

void JudgeAccount(const CLogonState& state, CJudge& judge)
{
    judge.About("account", pageAutomaticLogon);
    const CAskedAccount asked = AskedAccount(state);
    switch (asked.where) {
    case CAskedAccount::none:
        judge.Add(CFinding::unknown,
                  {"account: not looked up, as ",
                   state.userName.state == CValueRead::missing || (IsText(state.userName) && state.userName.text.IsEmpty())
                       ? "DefaultUserName is empty"
                       : "DefaultUserName or DefaultDomainName could not be judged"});
        return;
    case CAskedAccount::conflicting:
        judge.Add(CFinding::unknown,
                  {"account ", asked.user.GetText(), ": DefaultUserName names the domain ", asked.domain.GetText(),
                   " and DefaultDomainName the domain ", state.domain.text.GetText(),
                   ": which one Winlogon asks is not documented"},
                  true);
        return;
    case CAskedAccount::cloud:
        judge.Add(CFinding::unknown,
                  {"account ", asked.name.GetText(), ": ",
                   EqualsIgnoreCase(asked.domain.GetText(), "AzureAD") ? "an account of Microsoft Entra ID"
                                                                       : "a Microsoft account",
                   ", which this program cannot check"});
        return;
    default:
        break;
    }
    if (!JudgeLookup(state, asked, judge))
        return;
    JudgeAccountState(state, asked.name.GetText(), judge);
    JudgeRights(state, asked.name.GetText(), judge);
}

void JudgeSecret(const CLogonState& state, CJudge& judge)
{
    judge.About("LSA secret DefaultPassword", pageSecret);
    switch (state.secret.answer) {
    case CPasswordSecret::unknown:
        judge.Add(CFinding::unknown, {"LSA secret DefaultPassword could not be checked: ", state.secret.reason.GetText()});
        break;
    case CPasswordSecret::none:
        judge.Add(CFinding::ok, {"LSA secret DefaultPassword is not there"});
        break;
    case CPasswordSecret::there:
        judge.Add(CFinding::ok, {"LSA secret DefaultPassword is there: Windows logs on with its password"});
        break;
    case CPasswordSecret::same:
        judge.Add(CFinding::ok, {"LSA secret DefaultPassword is there, and holds the same password as DefaultPassword"});
        break;
    case CPasswordSecret::differs:
        judge.Add(CFinding::unknown,
                  {"LSA secret DefaultPassword differs from DefaultPassword: Windows uses the secret, which may be the "
                   "right one; -logon tries it"},
                  true);
        break;
    }
}

void JudgeLogonTry(const CLogonState& state, CJudge& judge)
{
    const CLogonTry& logon = state.logonTry;
    judge.About("logon", pageLogonUser);
    switch (logon.answer) {
    case CLogonTry::notAsked:
        return;
    case CLogonTry::noted:
        judge.Add(CFinding::note, {"logon not tried: ", logon.reason.GetText()});
        return;
    case CLogonTry::undecided:
        judge.Add(CFinding::unknown, {"logon ", logon.reason.GetText()});
        return;
    case CLogonTry::tried:
        break;
    }
    const char* account = logon.account.GetText();
    if (logon.status == 0) {
        judge.Add(CFinding::ok, {"logon as ", account, " with the password Windows will use: Windows accepts it"});
        return;
    }
    judge.Add(RefusesForGood(logon.status) ? CFinding::stops : CFinding::unknown,
              {"logon as ", account, " with the password Windows will use: ", logon.reason.GetText(),
               logon.status == notAtThisHour ? ": whether it may log on at the next start-up depends on its hour" : ""});
}

void JudgeEntry(const CLogonState& state, CJudge& judge)
{
    judge.About(reloadEntryName, pageRunOnce);
    const CValueRead& entry = state.entry;
    if (entry.state == CValueRead::unreadable)
        judge.Add(CFinding::unknown, {reloadEntryName, " could not be checked: ", entry.reason.GetText()});
    else if (entry.state == CValueRead::read)
        judge.Add(CFinding::note, {reloadEntryName, " is there: it writes the values again at the next logon of an "
                                                    "administrator, and holds the password until then"});
    else
        judge.Add(CFinding::ok, {reloadEntryName, " is not there"});
}

} // namespace

CAskedAccount AskedAccount(const CLogonState& state)
{
    CAskedAccount asked;
    const CValueRead& user = state.userName;
    const CValueRead& domain = state.domain;
    if (user.state != CValueRead::read || user.type != regSz || user.text.IsEmpty() ||
        (domain.state != CValueRead::missing && (domain.state != CValueRead::read || domain.type != regSz)))
        return asked;
    const char* text = user.text.GetText();
    const char* backslash = std::strchr(text, '\\');
    if (backslash == nullptr && std::strchr(text, '@') != nullptr) {
        asked.where = CAskedAccount::asGiven;
        asked.user.Assign(text);
        asked.name.Assign(text);
        return asked;
    }
    // A domain written before the user name is no documented form of DefaultUserName; Winlogon is
    // taken to ask for it as LookupAccountName does.
    asked.user.Assign(backslash != nullptr ? backslash + 1 : text);
    asked.domain = backslash != nullptr ? user.text.Substring(0, static_cast<size_t>(backslash - text)) : domain.text;
    const CComputer& computer = state.computer;
    if (backslash != nullptr && !domain.text.IsEmpty() &&
        !SameDomain(asked.domain.GetText(), domain.text.GetText(), computer)) {
        asked.where = CAskedAccount::conflicting;
        return asked;
    }
    switch (DomainOf(asked.domain.GetText(), computer)) {
    case ofThisComputer:
        asked.where = CAskedAccount::thisComputer;
        asked.domain = computer.name;
        break;
    case ofComputersDomain:
        asked.where = CAskedAccount::computersDomain;
        break;
    case ofOther:
        asked.where = IsCloudDomain(asked.domain.GetText()) ? CAskedAccount::cloud : CAskedAccount::otherDomain;
        break;
    }
    asked.name = asked.domain;
    asked.name.Append("\\");
    asked.name.Append(asked.user);
    return asked;
}

bool FoundWhereAsked(const CLogonState& state, const CAskedAccount& asked)
{
    const char* foundIn = state.lookup.foundIn.GetText();
    if (asked.where == CAskedAccount::asGiven || EqualsIgnoreCase(foundIn, asked.domain.GetText()) ||
        (!state.lookup.askedDomainName.IsEmpty() && EqualsIgnoreCase(foundIn, state.lookup.askedDomainName.GetText())))
        return true;
    if (asked.where == CAskedAccount::computersDomain)
        return EqualsIgnoreCase(foundIn, state.computer.domainName.GetText());
    return asked.where == CAskedAccount::thisComputer && EqualsIgnoreCase(foundIn, state.computer.name.GetText());
}

unsigned Judge(const CLogonState& state, CFindings& findings)
{
    CJudge judge(findings);
    if (!state.winlogonRead) {
        CHeapString key("the Winlogon key HKEY_LOCAL_MACHINE\\");
        key.Append(winlogonPath);
        judge.About("Winlogon key", pageAutomaticLogon)
            .Add(CFinding::unknown, {key.GetText(), " could not be read: ", state.winlogonReason.GetText()}, true);
        return exitNotChecked;
    }
    JudgeWinlogon(state, judge);
    JudgePassword(state, judge);
    JudgeCount(state, judge);
    JudgePolicy(state.caption, legalNoticeCaptionValue, "Message title", pageMessageTitle, judge);
    JudgePolicy(state.message, legalNoticeTextValue, "Message text", pageMessageText, judge);
    JudgeSmartCardPolicy(state, judge);
    JudgeAccount(state, judge);
    JudgeSecret(state, judge);
    JudgeLogonTry(state, judge);
    JudgeEntry(state, judge);
    bool undecided = false;
    for (const CFinding& finding : findings) {
        if (finding.kind == CFinding::stops)
            return exitStopped;
        undecided = undecided || finding.decides;
    }
    return undecided ? exitNotChecked : exitWillLogOn;
}

bool RefusesForGood(unsigned long status)
{
    return std::find(std::begin(definiteRefusals), std::end(definiteRefusals), status) != std::end(definiteRefusals);
}

const char* VerdictOf(unsigned status)
{
    return status == exitStopped      ? "Windows will not log on by itself at the next start-up: see STOP above."
           : status == exitNotChecked ? "Windows may not log on by itself at the next start-up: what decides it could "
                                        "not be judged, see ? above."
                                      : "Windows will log on by itself at the next start-up, as far as this program "
                                        "can tell.";
}

void AppendReport(const CFindings& findings, unsigned status, CHeapString& report)
{
    static const char* const marks[] = {"ok    ", "STOP  ", "?     ", "note  "};
    for (const CFinding& finding : findings) {
        report.Append(marks[finding.kind]);
        report.Append(finding.text);
        report.Append("\n");
    }
    report.Append("\n");
    report.Append(VerdictOf(status));
    report.Append("\n");
}

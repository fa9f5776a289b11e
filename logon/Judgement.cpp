#include "Judgement.h"

#include "ExitStatus.h"
#include "WinlogonKeys.h"

#include <cstring>
#include <initializer_list>

namespace {

void Add(CFindings& findings, CFinding::Kind kind, std::initializer_list<const char*> parts, bool decides = false)
{
    CFinding finding = {kind, decides, CHeapString()};
    for (const char* part : parts)
        finding.text.Append(part);
    findings.push_back(finding);
}

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
bool Judgeable(const CValueRead& value, const char* name, unsigned long documented, CFindings& findings,
               bool decides = true, const char* more = "", bool secret = false)
{
    if (value.state == CValueRead::unreadable) {
        Add(findings, CFinding::unknown, {name, " could not be read: ", value.reason.GetText(), more}, decides);
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
    Add(findings, CFinding::unknown,
        {name, " is a ", TypeName(value.type), data.GetText(), ", not the ", TypeName(documented),
         " Microsoft documents: what Windows does with it is not documented", more},
        decides);
    return false;
}

void JudgeWinlogon(const CLogonState& state, CFindings& findings)
{
    const CValueRead& on = state.autoAdminLogon;
    if (Judgeable(on, autoAdminLogonValue, regSz, findings)) {
        if (on.state == CValueRead::read && std::strcmp(on.text.GetText(), "1") == 0)
            Add(findings, CFinding::ok, {autoAdminLogonValue, " is 1"});
        else
            Add(findings, CFinding::stops,
                {autoAdminLogonValue, on.state == CValueRead::read ? " is not 1" : " is not there",
                 ": automatic logon is off"});
    }
    const CValueRead& user = state.userName;
    if (Judgeable(user, userNameValue, regSz, findings)) {
        if (user.state == CValueRead::read && !user.text.IsEmpty())
            Add(findings, CFinding::ok, {userNameValue, " is ", user.text.GetText()});
        else
            Add(findings, CFinding::stops,
                {userNameValue, user.state == CValueRead::read ? " is empty" : " is not there",
                 ": there is no account to log on"});
    }
    static_cast<void>(Judgeable(state.domain, domainValue, regSz, findings));
}

bool SecretHoldsPassword(const CLogonState& state)
{
    return state.secret.answer == CPasswordSecret::there || state.secret.answer == CPasswordSecret::same ||
           state.secret.answer == CPasswordSecret::differs;
}

void JudgePassword(const CLogonState& state, CFindings& findings)
{
    const CValueRead& password = state.password;
    // Where the secret holds the password, Windows does not use this value.
    const bool inSecret = SecretHoldsPassword(state);
    if (!Judgeable(password, passwordValue, regSz, findings, !inSecret, "", true))
        return;
    if (password.state == CValueRead::read && !password.text.IsEmpty())
        Add(findings, CFinding::ok, {passwordValue, " is there (not shown)"});
    else if (password.state == CValueRead::read)
        Add(findings, CFinding::note, {passwordValue, " is empty: it serves only an account without a password"});
    else if (inSecret)
        Add(findings, CFinding::ok,
            {passwordValue, " is not there, and the LSA secret DefaultPassword holds the password"});
    else
        Add(findings, CFinding::stops,
            {passwordValue, " is not there: without it Windows switches automatic logon off",
             state.secret.answer == CPasswordSecret::unknown
                 ? " (a password kept as an LSA secret instead is one this program cannot see here)"
                 : ""});
}

void JudgeCount(const CLogonState& state, CFindings& findings)
{
    const CValueRead& count = state.autoLogonCount;
    if (!Judgeable(count, autoLogonCountValue, regDword, findings))
        return;
    if (count.state == CValueRead::missing) {
        Add(findings, CFinding::ok, {autoLogonCountValue, " is not there: automatic logons are not counted"});
        return;
    }
    CHeapString number;
    number.AppendDecimal(count.number);
    if (count.number == 0)
        Add(findings, CFinding::stops, {autoLogonCountValue, " is 0: no automatic logon is left"});
    else
        Add(findings, CFinding::ok,
            {autoLogonCountValue, " is ", number.GetText(),
             ": each automatic logon counts it down, and at 0 Windows switches automatic logon off"});
}

// Set when any of its text is other than blanks and line ends: an empty line shows no message.
bool HoldsMessage(const CValueRead& value)
{
    return value.state == CValueRead::read && std::strspn(value.text.GetText(), " \t\r\n") != std::strlen(value.text.GetText());
}

void JudgePolicy(const CValueRead& value, const char* name, const char* policy, CFindings& findings)
{
    CHeapString about(" (policy \"Interactive logon: ");
    about.Append(policy);
    about.Append(" for users attempting to log on\")");
    // Any string type holds a message's text; one that is not whole UTF-16 holds more than blanks.
    const bool notWhole = value.state == CValueRead::unreadable && value.status == statusNotWholeUtf16;
    if (!notWhole && !Judgeable(value, name, IsText(value) ? value.type : regSz, findings, true, about.GetText()))
        return;
    if (notWhole || HoldsMessage(value))
        Add(findings, CFinding::stops,
            {name, " is set", about.GetText(), ": Windows shows a logon message and does not log on by itself"});
    else
        Add(findings, CFinding::ok, {name, " is empty", about.GetText()});
}

bool JudgeLookup(const CLogonState& state, const CAskedAccount& asked, CFindings& findings)
{
    const char* name = asked.name.GetText();
    switch (state.lookup.answer) {
    case CAccountLookup::found:
        if (!FoundWhereAsked(state, asked)) {
            Add(findings, CFinding::stops,
                {"account ", name, ": Windows answered with an account of ", state.lookup.foundIn.GetText(),
                 ", not of ", asked.domain.GetText()});
            return false;
        }
        if (asked.where == CAskedAccount::asGiven)
            Add(findings, CFinding::ok, {"account ", name, " exists, in ", state.lookup.foundIn.GetText()});
        else
            Add(findings, CFinding::ok, {"account ", name, " exists"});
        return true;
    case CAccountLookup::notFound:
        if (asked.where == CAskedAccount::thisComputer)
            Add(findings, CFinding::stops, {"account ", name, ": this computer has no account ", asked.user.GetText()});
        else
            Add(findings, CFinding::unknown,
                {"account ", name, " could not be checked: not found now, and a domain controller may be out of reach"});
        return false;
    case CAccountLookup::failed:
        Add(findings, CFinding::unknown, {"account ", name, " could not be checked: ", state.lookup.reason.GetText()});
        return false;
    case CAccountLookup::notAsked:
        break;
    }
    return false;
}

// Whether its logon hours let it log on at this hour: one bit an hour, from Sunday 00:00 UTC, and
// 1970-01-01 was a Thursday.
bool WithinLogonHours(const CAccountState& account, unsigned long long now)
{
    const unsigned long long hour = ((now / 86400 + 4) % 7) * 24 + now / 3600 % 24;
    return account.allHours || (account.logonHours[hour / 8] >> (hour % 8) & 1) != 0;
}

// Whether the comma-separated list of computers holds this one.
bool MayLogOnAt(const char* workstations, const char* computer)
{
    if (workstations[0] == '\0')
        return true;
    for (const char* p = workstations;; ++p) {
        const char* end = std::strchr(p, ',');
        CHeapString name;
        name.Assign(p, end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p));
        if (EqualsIgnoreCase(name.GetText(), computer))
            return true;
        if (end == nullptr)
            return false;
        p = end;
    }
}

void JudgeAccountState(const CLogonState& state, const char* name, CFindings& findings)
{
    const CAccountState& account = state.account;
    if (account.answer != CAccountState::answered) {
        if (account.answer == CAccountState::failed)
            Add(findings, CFinding::unknown, {"account ", name, "'s state could not be checked: ", account.reason.GetText()});
        return;
    }
    const size_t before = findings.size();
    if (account.disabled)
        Add(findings, CFinding::stops, {"account ", name, " is disabled"});
    if (account.lockedOut)
        Add(findings, CFinding::stops, {"account ", name, " is locked out"});
    if (account.passwordExpired)
        Add(findings, CFinding::stops, {"account ", name, "'s password has expired"});
    else if (account.passwordAgeKnown && account.mustChangePassword)
        Add(findings, CFinding::stops, {"account ", name, " must change its password at the next logon"});
    if (account.smartCardRequired)
        Add(findings, CFinding::stops, {"account ", name, " may log on only with a smart card"});
    if (account.detailed) {
        if (account.expires != CAccountState::never && account.expires <= state.now)
            Add(findings, CFinding::stops, {"account ", name, " has expired"});
        if (account.unitsPerWeek != 168 && !account.allHours)
            Add(findings, CFinding::unknown,
                {"account ", name, "'s logon hours could not be checked: they are not kept by the hour"});
        else if (!WithinLogonHours(account, state.now))
            Add(findings, CFinding::stops, {"account ", name, " may not log on at this hour, by its logon hours"});
        if (!MayLogOnAt(account.workstations.GetText(), state.computer.name.GetText()))
            Add(findings, CFinding::stops,
                {"account ", name, " may log on only at ", account.workstations.GetText(), ", not at ",
                 state.computer.name.GetText()});
    }
    // The levels that hold these are asked from the fullest down, so the one refused is the last that
    // could have told them.
    const bool passwordAgeUnknown = !account.passwordAgeKnown && !account.passwordExpired;
    if (!account.detailed)
        Add(findings, CFinding::unknown,
            {"account ", name, "'s expiry, logon hours, computers",
             passwordAgeUnknown ? " and need to change its password" : "", " could not be checked: ",
             account.detailReason.GetText()});
    else if (passwordAgeUnknown)
        Add(findings, CFinding::unknown,
            {"account ", name, "'s need to change its password could not be checked: ",
             account.passwordAgeReason.GetText()});
    for (size_t i = before; i < findings.size(); ++i) {
        if (findings[i].kind == CFinding::stops)
            return;
    }
    Add(findings, CFinding::ok,
        {"account ", name, " is enabled, not locked out, needs no smart card and its password has not expired",
         account.detailed ? "; it has not expired, and may log on at this hour and at this computer" : ""});
}

void JudgeAccount(const CLogonState& state, CFindings& findings)
{
    const CAskedAccount asked = AskedAccount(state);
    switch (asked.where) {
    case CAskedAccount::none:
        Add(findings, CFinding::unknown,
            {"account: not looked up, as ",
             state.userName.state == CValueRead::missing || (IsText(state.userName) && state.userName.text.IsEmpty())
                 ? "DefaultUserName is empty"
                 : "DefaultUserName or DefaultDomainName could not be judged"});
        return;
    case CAskedAccount::conflicting:
        Add(findings, CFinding::unknown,
            {"account ", asked.user.GetText(), ": DefaultUserName names the domain ", asked.domain.GetText(),
             " and DefaultDomainName the domain ", state.domain.text.GetText(),
             ": which one Winlogon asks is not documented"},
            true);
        return;
    default:
        break;
    }
    if (JudgeLookup(state, asked, findings))
        JudgeAccountState(state, asked.name.GetText(), findings);
}

void JudgeSecret(const CLogonState& state, CFindings& findings)
{
    switch (state.secret.answer) {
    case CPasswordSecret::unknown:
        Add(findings, CFinding::unknown,
            {"LSA secret DefaultPassword could not be checked: ", state.secret.reason.GetText()});
        break;
    case CPasswordSecret::none:
        Add(findings, CFinding::ok, {"LSA secret DefaultPassword is not there"});
        break;
    case CPasswordSecret::there:
        Add(findings, CFinding::ok, {"LSA secret DefaultPassword is there: Windows logs on with its password"});
        break;
    case CPasswordSecret::same:
        Add(findings, CFinding::ok, {"LSA secret DefaultPassword is there, and holds the same password as DefaultPassword"});
        break;
    case CPasswordSecret::differs:
        Add(findings, CFinding::stops,
            {"Windows uses the LSA secret DefaultPassword, not the registry's, and they differ"});
        break;
    }
}

void JudgeEntry(const CLogonState& state, CFindings& findings)
{
    const CValueRead& entry = state.entry;
    if (entry.state == CValueRead::unreadable)
        Add(findings, CFinding::unknown, {reloadEntryName, " could not be checked: ", entry.reason.GetText()});
    else if (entry.state == CValueRead::read)
        Add(findings, CFinding::note,
            {reloadEntryName, " is there: it writes the values again at the next logon of an administrator, and "
                              "holds the password until then"});
    else
        Add(findings, CFinding::ok, {reloadEntryName, " is not there"});
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
    if (backslash != nullptr && !domain.text.IsEmpty() && !EqualsIgnoreCase(asked.domain.GetText(), domain.text.GetText())) {
        asked.where = CAskedAccount::conflicting;
        return asked;
    }
    const char* domainName = asked.domain.GetText();
    if (domainName[0] == '\0' || std::strcmp(domainName, ".") == 0 || EqualsIgnoreCase(domainName, state.computer.name.GetText())) {
        asked.where = CAskedAccount::thisComputer;
        asked.domain = state.computer.name;
    } else if (state.computer.membership == CComputer::member &&
               (EqualsIgnoreCase(domainName, state.computer.domainName.GetText()) ||
                (!state.computer.domainDnsName.IsEmpty() &&
                 EqualsIgnoreCase(domainName, state.computer.domainDnsName.GetText())))) {
        asked.where = CAskedAccount::computersDomain;
    } else {
        asked.where = CAskedAccount::otherDomain;
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
    if (!state.winlogonRead) {
        CHeapString key("the Winlogon key HKEY_LOCAL_MACHINE\\");
        key.Append(winlogonPath);
        Add(findings, CFinding::unknown, {key.GetText(), " could not be read: ", state.winlogonReason.GetText()}, true);
        return exitNotChecked;
    }
    JudgeWinlogon(state, findings);
    JudgePassword(state, findings);
    JudgeCount(state, findings);
    JudgePolicy(state.caption, legalNoticeCaptionValue, "Message title", findings);
    JudgePolicy(state.message, legalNoticeTextValue, "Message text", findings);
    JudgeAccount(state, findings);
    JudgeSecret(state, findings);
    JudgeEntry(state, findings);
    bool undecided = false;
    for (const CFinding& finding : findings) {
        if (finding.kind == CFinding::stops)
            return exitStopped;
        undecided = undecided || finding.decides;
    }
    return undecided ? exitNotChecked : exitWillLogOn;
}

void AppendReport(const CFindings& findings, unsigned status, CHeapString& report)
{
    static const char* const marks[] = {"ok    ", "STOP  ", "?     ", "note  "};
    for (const CFinding& finding : findings) {
        report.Append(marks[finding.kind]);
        report.Append(finding.text);
        report.Append("\n");
    }
    report.Append(status == exitStopped ? "\nWindows will not log on by itself at the next start-up: see STOP above.\n"
                  : status == exitNotChecked
                      ? "\nWindows may not log on by itself at the next start-up: what decides it could not be "
                        "judged, see ? above.\n"
                      : "\nWindows will log on by itself at the next start-up, as far as this program can tell.\n");
}

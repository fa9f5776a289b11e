#include "Findings.h"

#include "Account.h"

#include <cstring>

namespace {

void Add(CFindings& findings, CFinding::Kind kind, const char* text, const char* more = "")
{
    CFinding finding = {kind, CHeapString(text)};
    finding.text.Append(more);
    findings.push_back(finding);
}

void EvaluateWinlogon(const CLogonState& state, CFindings& findings)
{
    if (state.autoAdminLogonOn)
        Add(findings, CFinding::ok, "AutoAdminLogon is 1");
    else
        Add(findings, CFinding::stops, state.autoAdminLogonThere ? "AutoAdminLogon is not 1"
                                                                 : "AutoAdminLogon is not there",
            ": automatic logon is off");
    if (state.userName.IsEmpty())
        Add(findings, CFinding::stops, "DefaultUserName is empty: there is no account to log on");
    else
        Add(findings, CFinding::ok, "DefaultUserName is ", state.userName.GetText());
}

void EvaluatePassword(const CLogonState& state, CFindings& findings)
{
    if (state.passwordThere)
        Add(findings, CFinding::ok, "DefaultPassword is there (not shown)");
    else if (state.secret.answer == CLookup::yes)
        Add(findings, CFinding::ok,
            "DefaultPassword is not there, and the LSA secret DefaultPassword holds the password");
    else
        Add(findings, CFinding::stops,
            "DefaultPassword is not there: without it Windows switches automatic logon off",
            state.secret.answer == CLookup::unknown
                ? " (a password kept as an LSA secret instead is one this program cannot see here)"
                : "");
}

void EvaluateCount(const CLogonState& state, CFindings& findings)
{
    if (!state.countThere) {
        Add(findings, CFinding::ok,
            "AutoLogonCount is not there: automatic logons are not counted");
        return;
    }
    if (!state.countIsNumber) {
        Add(findings, CFinding::unknown,
            "AutoLogonCount could not be checked: it is not a REG_DWORD");
        return;
    }
    CHeapString text("AutoLogonCount is ");
    text.AppendDecimal(state.count);
    if (state.count == 0)
        Add(findings, CFinding::stops, text.GetText(), ": no automatic logon is left");
    else
        Add(findings, CFinding::ok, text.GetText(),
            ": each automatic logon counts it down, and at 0 Windows switches automatic logon "
            "off");
}

void EvaluatePolicy(bool set, const char* value, const char* policy, CFindings& findings)
{
    CHeapString text(value);
    text.Append(set ? " is set" : " is empty");
    text.Append(" (policy \"Interactive logon: ");
    text.Append(policy);
    text.Append(" for users attempting to log on\")");
    Add(findings, set ? CFinding::stops : CFinding::ok, text.GetText(),
        set ? ": Windows shows a logon message and does not log on by itself" : "");
}

void EvaluateAccount(const CLogonState& state, CFindings& findings)
{
    if (state.userName.IsEmpty()) {
        Add(findings, CFinding::unknown, "account: not looked up, as DefaultUserName is empty");
        return;
    }
    CHeapString account;
    MakeAccountName(state.domain.GetText(), state.userName.GetText(), account);
    CHeapString text("account ");
    text.Append(account);
    switch (state.account.answer) {
    case CLookup::yes:
        // Without a domain, or where Windows names it otherwise, the name found says whose it is.
        text.Append(" exists");
        if (std::strcmp(account.GetText(), state.account.detail.GetText()) != 0) {
            text.Append(" as ");
            text.Append(state.account.detail);
        }
        Add(findings, CFinding::ok, text.GetText());
        break;
    case CLookup::no:
        text.Append(": this computer has no account ");
        Add(findings, CFinding::stops, text.GetText(), state.userName.GetText());
        break;
    case CLookup::unknown:
        text.Append(" could not be checked: ");
        Add(findings, CFinding::unknown, text.GetText(), state.account.detail.GetText());
        break;
    }
}

void EvaluateSecret(const CLogonState& state, CFindings& findings)
{
    switch (state.secret.answer) {
    case CLookup::yes:
        Add(findings, CFinding::note,
            "LSA secret DefaultPassword is there: Windows logs on with its password, "
            "not with DefaultPassword");
        break;
    case CLookup::no:
        Add(findings, CFinding::ok, "LSA secret DefaultPassword is not there");
        break;
    case CLookup::unknown:
        Add(findings, CFinding::unknown, "LSA secret DefaultPassword could not be checked: ",
            state.secret.detail.GetText());
        break;
    }
}

void EvaluateEntry(const CLogonState& state, CFindings& findings)
{
    if (state.entryThere)
        Add(findings, CFinding::note,
            "start-up entry Tollvey is there: it writes the values again at the next logon of an "
            "administrator, and holds the password until then");
    else
        Add(findings, CFinding::ok, "start-up entry Tollvey is not there");
}

} // namespace

void Evaluate(const CLogonState& state, CFindings& findings)
{
    EvaluateWinlogon(state, findings);
    EvaluatePassword(state, findings);
    EvaluateCount(state, findings);
    EvaluatePolicy(state.captionSet, "LegalNoticeCaption", "Message title", findings);
    EvaluatePolicy(state.messageSet, "LegalNoticeText", "Message text", findings);
    EvaluateAccount(state, findings);
    EvaluateSecret(state, findings);
    EvaluateEntry(state, findings);
}

bool AnyStops(const CFindings& findings)
{
    for (const CFinding& finding : findings) {
        if (finding.kind == CFinding::stops)
            return true;
    }
    return false;
}

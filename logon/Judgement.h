// What the logon state means for the next start-up: one finding for each thing checked, in a fixed
// order, each naming the value, policy or account it is about and the Microsoft page it rests on,
// never the password; and the verdict, as the exit status (ExitStatus.h) and the line that closes
// the report.
#pragma once

#include "HeapString.h"
#include "LogonState.h"
#include "OutOfMemory.h"

#include <vector>

// The account that Winlogon will ask for, from DefaultUserName and DefaultDomainName.
struct CAskedAccount
{
    // none: no usable user name; asGiven: a user@domain name, looked up as it stands; conflicting:
    // the user name carries a domain that DefaultDomainName contradicts; cloud: an account of
    // Microsoft's (MicrosoftAccount\) or of Entra ID (AzureAD\), which no domain here answers for.
    enum Where { none, thisComputer, computersDomain, otherDomain, asGiven, conflicting, cloud };

    Where where = none;
    CHeapString domain; // as asked; for this computer's own accounts, its name
    CHeapString user;
    CHeapString name; // "domain\user", or the name as given: what is looked up, and shown

    bool IsLookedUp() const { return where != none && where != conflicting && where != cloud; }
};

CAskedAccount AskedAccount(const CLogonState& state);

// Whether the account found belongs to the domain asked for: by the name asked, by that domain's
// own name as Windows gives it, or, for this computer's domain or this computer, by either name.
bool FoundWhereAsked(const CLogonState& state, const CAskedAccount& asked);

struct CFinding
{
    enum Kind { ok, stops, unknown, note };

    Kind kind;
    // An unknown that the verdict turns on: without it, whether Windows logs on cannot be told.
    bool decides;
    CHeapString text;
    // The value, policy or thing it is about, and the Microsoft page it rests on.
    const char* about;
    const char* page;
};

using CFindings = std::vector<CFinding, CStopAllocator<CFinding>>;

// The findings, and the exit status: a stop is sure, so it outweighs what could not be judged.
[[nodiscard]] unsigned Judge(const CLogonState& state, CFindings& findings);

// Whether LogonUserW's answer refuses the credentials for good, as Winlogon's logon would be refused;
// and whether it is a wrong name or password, which the credentials themselves are to blame for.
bool RefusesForGood(unsigned long status);
const unsigned long statusWrongPassword = 1326;

// The line that closes the report for the status.
const char* VerdictOf(unsigned status);

// What the program prints: a marked line for each finding, an empty line and the verdict.
void AppendReport(const CFindings& findings, unsigned status, CHeapString& report);

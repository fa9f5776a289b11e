// What the logon state means for the next start-up: one finding for each thing checked, in a fixed
// order, each naming the value, policy or account it is about, never the password; and the verdict,
// as the exit status (ExitStatus.h) and the line that closes the report.
#pragma once

#include "HeapString.h"
#include "LogonState.h"
#include "OutOfMemory.h"

#include <vector>

// The account that Winlogon will ask for, from DefaultUserName and DefaultDomainName.
struct CAskedAccount
{
    // none: no usable user name; asGiven: a user@domain name, looked up as it stands; conflicting:
    // the user name carries a domain that DefaultDomainName contradicts.
    enum Where { none, thisComputer, computersDomain, otherDomain, asGiven, conflicting };

    Where where = none;
    CHeapString domain; // as asked; for this computer's own accounts, its name
    CHeapString user;
    CHeapString name; // "domain\user", or the name as given: what is looked up, and shown
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
};

using CFindings = std::vector<CFinding, CStopAllocator<CFinding>>;

// The findings, and the exit status: a stop is sure, so it outweighs what could not be judged.
[[nodiscard]] unsigned Judge(const CLogonState& state, CFindings& findings);

// What the program prints: a marked line for each finding, an empty line and the verdict.
void AppendReport(const CFindings& findings, unsigned status, CHeapString& report);

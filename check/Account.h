// The account that Windows is to log on, looked up as Winlogon would find it.
#pragma once

#include "Lookup.h"

// userName is not empty; domain may be. Yes, with the account's full name ("KIOSK-07\kiosk"), when
// it exists. No only where the answer is sure: the domain is this computer's own (or empty, on a
// computer in no domain) and this computer has no such account. Unknown otherwise, with the
// reason: a domain controller may be out of reach.
CLookup LookUpAccount(const char* userName, const char* domain);

// "domain\userName", or userName alone when there is no domain: the name Windows looks up.
void MakeAccountName(const char* domain, const char* userName, CHeapString& name);

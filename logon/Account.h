// The account that Winlogon will ask for: whether Windows knows it, and its own state.
#pragma once

#include "Judgement.h"
#include "LogonState.h"

// asked is one to look up: this computer's, a domain's, or a name as given.
void LookUpAccount(const CAskedAccount& asked, CAccountLookup& lookup);

// From this computer for its own accounts, and from a domain controller of the domain that holds
// the account for a domain's, waiting a few seconds at most for one to answer.
void ReadAccountState(const CAskedAccount& asked, const CAccountLookup& lookup, CAccountState& state);

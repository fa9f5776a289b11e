// CLogonState: what decides whether Windows logs on by itself at the next start-up, as this
// computer shows it. Reading it writes nothing. The password itself is never read.
#pragma once

#include "HeapString.h"
#include "Lookup.h"

struct CLogonState
{
    bool winlogonRead = false;
    // Why it could not be, as Windows says it.
    CHeapString winlogonReason;
    bool autoAdminLogonThere = false;
    bool autoAdminLogonOn = false; // the text "1"
    CHeapString userName;
    CHeapString domain;
    bool passwordThere = false;
    bool countThere = false;
    bool countIsNumber = false;
    unsigned long count = 0;
    // The logon message policies: set when they hold any text.
    bool captionSet = false;
    bool messageSet = false;
    bool entryThere = false;
    // Looked up only when there is a user name.
    CLookup account;
    CLookup secret;
};

void ReadLogonState(CLogonState& state);

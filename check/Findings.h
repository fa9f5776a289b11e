// What the logon state means for the next start-up: one finding for each thing checked, in a fixed
// order, each naming the registry value, policy or account it is about, never the password.
#pragma once

#include "HeapString.h"
#include "LogonState.h"
#include "OutOfMemory.h"

#include <vector>

struct CFinding
{
    enum Kind { ok, stops, unknown, note };

    Kind kind;
    CHeapString text;
};

using CFindings = std::vector<CFinding, CStopAllocator<CFinding>>;

// state.winlogonRead is true.
void Evaluate(const CLogonState& state, CFindings& findings);

bool AnyStops(const CFindings& findings);

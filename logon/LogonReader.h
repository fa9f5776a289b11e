// Reads what decides whether Windows logs on by itself from this computer. Writes nothing.
#pragma once

#include "LogonState.h"

void ReadLogonState(CLogonState& state);

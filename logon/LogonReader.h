// Reads what decides whether Windows logs on by itself from this computer, and tries the credentials
// as Winlogon will use them. Writes nothing.
#pragma once

#include "Judgement.h"
#include "LogonCalls.h"
#include "LogonState.h"

void ReadLogonState(CLogonState& state, const CLogonCalls& calls = windowsLogonCalls);

// Logs the account on as Winlogon will ask for it, with the password Winlogon will use: the LSA
// secret where it can be read, DefaultPassword only where the secret's answer is that there is
// none. Each copy of the password is wiped.
void TryLogon(CLogonState& state, const CLogonCalls& calls = windowsLogonCalls);

// The same for an account and password not yet written, as the deployment tries them first.
void TryCredentials(const CLogonState& state, const CAskedAccount& asked, const char* password, CLogonTry& result,
                    const CLogonCalls& calls = windowsLogonCalls);

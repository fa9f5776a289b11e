// What the deployment keeps under HKEY_LOCAL_MACHINE\SOFTWARE\Tollvey, in the 64-bit view: the
// configuration version it set, for device management to detect, and a version whose credentials
// Windows refused, with when and why, which is not tried again: on a fleet that shares one account,
// a wrong file's retries and start-ups would lock that account out.
#pragma once

#include "RunReport.h"

// Whether the version is the one recorded.
bool IsRecorded(const char* version);

// Records the version: exitRestartApplies when it was not recorded before, exitRecordedBefore when it
// was, exitDeployWriteFailed when it could not be. A refusal kept from before goes.
unsigned RecordVersion(const char* version, CRunReport& report);

// Removes the version recorded, and with off a refusal kept; false when the version is left.
bool RemoveVersion(bool off, CRunReport& report);

// Whether the version's credentials were refused before; when, and why.
bool WasRefused(const char* version, CHeapString& because);

// Keeps the refusal of the version's credentials, with the time; false when it could not be kept.
[[nodiscard]] bool KeepRefusal(const char* version, const char* why);

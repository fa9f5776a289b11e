// CDeployCalls: the Windows calls of a run whose answers a test gives as Windows would, where Wine
// cannot: Wine keeps no security descriptor of a file and no event, takes any password, and another
// run's lock would take a minute to wait out. A run takes the real ones unless told otherwise.
#pragma once

#include "HeapString.h"
#include "LogonCalls.h"

#include <windows.h>

#include <accctrl.h>

struct CDeployCalls
{
    // WaitForSingleObject, on the lock that two runs share.
    DWORD(WINAPI* waitForLock)(HANDLE handle, DWORD milliseconds);
    // The owner and access list of an open file, folder or other object, as SDDL text; false when
    // they could not be read.
    bool (*readSecurity)(HANDLE handle, SE_OBJECT_TYPE type, CHeapString& sddl);
    HANDLE(WINAPI* registerEventSource)(LPCWSTR server, LPCWSTR source);
    BOOL(WINAPI* reportEvent)(HANDLE log, WORD type, WORD category, DWORD id, PSID user, WORD strings,
                              DWORD dataSize, LPCWSTR* texts, LPVOID data);
    BOOL(WINAPI* deregisterEventSource)(HANDLE log);
    // The check's calls, for reading back what was written and trying the credentials first.
    const CLogonCalls* logon;
};

extern const CDeployCalls windowsCalls;

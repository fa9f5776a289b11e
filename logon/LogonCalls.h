// CLogonCalls: every call into Windows the logon reader makes, as a table of functions in plain
// terms, the real ones by default (WindowsLogonCalls.cpp). What the reader makes of their answers is
// portable, so that each answer Windows may give, among them those Wine never gives (an account's
// state at each level, a domain controller that does not answer, a secret, logon rights, each answer
// of LogonUserW), is a row of a native table.
#pragma once

#include "HeapString.h"
#include "LogonState.h"
#include "ValueRead.h"

// What NetUserGetInfo told at one level, in plain terms.
struct CUserInfo
{
    unsigned long flags = 0;
    // Level 2 and above.
    unsigned long expires = CAccountState::never;
    unsigned long unitsPerWeek = 168;
    bool allHours = true;
    unsigned char logonHours[21] = {};
    CHeapString workstations;
    // Level 3 and 4, with the longest password age that the computer or domain asking allows.
    bool passwordExpired = false;
    unsigned long passwordAge = 0;
    unsigned long maxPasswordAge = CAccountState::never;
};

// The account flags the reader reads, as Windows numbers them (UF_...).
const unsigned long flagDisabled = 0x2;
const unsigned long flagLockedOut = 0x10;
const unsigned long flagPasswordNeverExpires = 0x10000;
const unsigned long flagSmartCardRequired = 0x40000;
const unsigned long flagPasswordExpired = 0x800000;

// Windows' statuses the reader tells apart.
const unsigned long statusFileNotFound = 2;
const unsigned long statusWaitedOut = 258; // WAIT_TIMEOUT: no answer within the wait
const unsigned long statusNoneMapped = 1332;
const unsigned long statusUserNotFound = 2221;

struct CLogonCalls
{
    // Seconds since 1970-01-01 00:00 UTC.
    unsigned long long (*now)();
    // A value under HKEY_LOCAL_MACHINE, in the view Winlogon reads; the status its key opened with.
    unsigned long (*readValue)(const char* path, const char* name, CValueRead& value);
    void (*readComputer)(CComputer& computer);
    // LookupAccountNameW, with the account's own name, kind and SID filled in found.
    unsigned long (*lookUpAccount)(const char* name, CAccountLookup& found);
    // NetUserGetInfo at a level, of server ("" for this computer), within the wait for a server.
    unsigned long (*getUserInfo)(const char* server, const char* user, unsigned level, CUserInfo& info);
    // DsGetDcNameW for the domain: a controller's name, or statusWaitedOut when none answered within
    // the wait.
    unsigned long (*findDomainController)(const char* domain, CHeapString& controller);
    // LsaRetrievePrivateData for DefaultPassword, as text; statusFileNotFound when there is none.
    unsigned long (*readPasswordSecret)(CHeapString& secret);
    // The names of the local groups the account belongs to, directly or through others, a comma
    // between two.
    unsigned long (*localGroups)(const char* account, CHeapString& names);
    // LsaEnumerateAccountRights: whether the SID is given "Allow log on locally" and "Deny log on
    // locally" directly; statusFileNotFound when it is given no right at all.
    unsigned long (*logonRights)(const char* sid, bool& allowed, bool& denied);
    // LogonUserW, interactive; domain null for a user@domain name.
    unsigned long (*logOn)(const char* user, const char* domain, const char* password);
    // Windows' words for a status, and its number.
    void (*describe)(unsigned long status, CHeapString& text);
};

extern const CLogonCalls windowsLogonCalls;

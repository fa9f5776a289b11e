// CLogonState: what decides whether Windows logs on by itself at the next start-up, as the check
// program read it from this computer, with Windows' reason wherever a read failed. A plain state:
// what it means follows from it alone (Judgement.h), so that every state can be judged anywhere.
#pragma once

#include "HeapString.h"
#include "ValueRead.h"

// This computer, and the domain it is a member of.
struct CComputer
{
    enum Membership { workgroup, member, unknown };

    CHeapString name;    // its NetBIOS name
    CHeapString dnsName; // its DNS name, fully qualified in a domain; "" when Windows gives none
    Membership membership = workgroup;
    CHeapString domainName;    // member: the domain's NetBIOS name
    CHeapString domainDnsName; // member: its DNS name, when it has one
    CHeapString reason;        // unknown: why
};

// What kind of account a name is, numbered as LookupAccountNameW numbers them (SID_NAME_USE).
enum CAccountKind : unsigned long {
    kindUser = 1,
    kindGroup,
    kindDomain,
    kindAlias,
    kindWellKnownGroup,
    kindDeletedAccount,
    kindInvalid,
    kindUnknown,
    kindComputer,
    kindLabel,
};

// What LookupAccountNameW answered for the account that Winlogon will ask for (AskedAccount).
struct CAccountLookup
{
    enum Answer { notAsked, found, notFound, failed };

    Answer answer = notAsked;
    // Found: the domain that holds it, as Windows names it (this computer's name for its own), what
    // kind of account it is, its own name there (a user@domain name's account name), its SID.
    CHeapString foundIn;
    unsigned long kind = kindUser;
    CHeapString accountName;
    CHeapString sid;
    // The domain asked for by its own name, as Windows names it, when it could be looked up; "".
    CHeapString askedDomainName;
    CHeapString reason; // failed: why
};

// The account's own state, from NetUserGetInfo, asked of this computer for its own accounts and of
// a domain controller for a domain's.
struct CAccountState
{
    enum Answer { notAsked, answered, failed };

    Answer answer = notAsked;
    CHeapString reason; // failed: why, a domain controller out of reach among them
    // Every level holds these.
    bool disabled = false;
    bool lockedOut = false;
    bool passwordExpired = false;
    bool smartCardRequired = false;
    // From level 2 and above; otherwise why not.
    bool detailed = false;
    CHeapString detailReason;
    static const unsigned long never = 0xFFFFFFFF;
    unsigned long expires = never; // seconds since 1970-01-01 00:00 UTC
    unsigned long unitsPerWeek = 168;
    bool allHours = true;               // no logon hours set
    unsigned char logonHours[21] = {};  // one bit an hour of the week, Sunday 00:00 UTC first
    CHeapString workstations;           // the computers it may log on at, comma-separated; "" for all
    // From level 3 or 4; otherwise why not. With the password's age and the longest age the
    // computer or domain allows, an expired password tells whether it ran out of time.
    bool passwordAgeKnown = false;
    CHeapString passwordAgeReason;
    bool mustChangePassword = false;
    unsigned long passwordAge = 0;       // seconds
    unsigned long maxPasswordAge = never; // seconds; never: no password runs out of time
    bool passwordNeverExpires = false;
};

// "Allow log on locally" and "Deny log on locally", as given to the account, its local groups,
// Everyone, Authenticated Users and INTERACTIVE.
struct CLogonRights
{
    enum Answer { notAsked, answered, failed };

    Answer answer = notAsked;
    bool allowed = false;
    CHeapString deniedTo; // answered: the first of them denied it; "" for none
    CHeapString reason;   // failed: why
};

// The LSA secret DefaultPassword, which Windows uses instead of the registry's DefaultPassword.
struct CPasswordSecret
{
    // there: it exists, and there is no registry password to compare it with.
    enum Answer { unknown, none, there, same, differs };

    Answer answer = unknown;
    CHeapString reason; // unknown: why
};

// The credentials tried as Winlogon will use them (TollveyCheck -logon, and TollveyDeploy).
struct CLogonTry
{
    // noted: not tried, for a reason that decides nothing (an empty password); undecided: not
    // tried, as what it would take could not be had; tried: LogonUserW answered status.
    enum Answer { notAsked, noted, undecided, tried };

    Answer answer = notAsked;
    CHeapString account; // as asked for: domain\user, or user@domain
    unsigned long status = 0;
    CHeapString reason; // Windows' words for status, or why it was not tried
};

struct CLogonState
{
    bool winlogonRead = false;
    CHeapString winlogonReason; // why not
    CValueRead autoAdminLogon;
    CValueRead userName;
    CValueRead password; // its text is never shown
    CValueRead domain;
    CValueRead autoLogonCount;
    // The logon message policies, and "Interactive logon: Require smart card".
    CValueRead caption;
    CValueRead message;
    CValueRead smartCard;
    CValueRead entry; // the start-up entry: whether it is there
    CComputer computer;
    CAccountLookup lookup;
    CAccountState account;
    CLogonRights rights;
    CPasswordSecret secret;
    CLogonTry logonTry;
    unsigned long long now = 0; // seconds since 1970-01-01 00:00 UTC
};

// Where Windows keeps what decides automatic logon, under HKEY_LOCAL_MACHINE: the one place these
// keys and value names are written, for the store that writes them and the check that reads them.
#pragma once

inline constexpr const char* winlogonPath = "Software\\Microsoft\\Windows NT\\CurrentVersion\\WinLogon";
inline constexpr const char* autoAdminLogonValue = "AutoAdminLogon";
inline constexpr const char* userNameValue = "DefaultUserName";
inline constexpr const char* passwordValue = "DefaultPassword";
inline constexpr const char* domainValue = "DefaultDomainName";
inline constexpr const char* autoLogonCountValue = "AutoLogonCount";

// The start-up entry that brings the values back at the next start-up.
inline constexpr const char* runOncePath = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr const char* reloadValueName = "Tollvey";
// How the programs name that entry to the user.
inline constexpr const char* reloadEntryName = "start-up entry Tollvey";

// What the deployment program keeps of its own: the configuration version it last set, for
// device management to detect.
inline constexpr const char* tollveyPath = "SOFTWARE\\Tollvey";
inline constexpr const char* configurationVersionValue = "ConfigurationVersion";
// A version whose credentials Windows refused, and when and why: that version is not tried again.
inline constexpr const char* refusedVersionValue = "RefusedVersion";
inline constexpr const char* refusedBecauseValue = "RefusedBecause";

// The logon message policies ("Interactive logon: Message title/text for users attempting to log on").
inline constexpr const char* systemPoliciesPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr const char* legalNoticeCaptionValue = "LegalNoticeCaption";
inline constexpr const char* legalNoticeTextValue = "LegalNoticeText";
// "Interactive logon: Require smart card", beside them.
inline constexpr const char* smartCardPolicyValue = "scforceoption";

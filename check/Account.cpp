#include "Account.h"

#include "LocalSecurity.h"
#include "SystemStatus.h"
#include "WideText.h"

#include <windows.h>

namespace {

// Zero when found, with the domain that holds it; otherwise the error.
DWORD LookUpName(const char* name, CHeapString& foundIn)
{
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainLength = sizeof domain / sizeof domain[0];
    SID_NAME_USE use;
    if (!LookupAccountNameW(nullptr, CWideText(name), sid, &sidSize, domain, &domainLength, &use))
        return GetLastError();
    ToCodePage(CP_UTF8, 0, domain, foundIn); // shown only
    return ERROR_SUCCESS;
}

// Whether an account named in this domain can only be one of this computer's own.
bool IsThisComputers(const char* domain)
{
    if (domain[0] == '\0')
        return FindDomainMembership().answer == CLookup::no;
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = sizeof computer / sizeof computer[0];
    return GetComputerNameW(computer, &length) && lstrcmpiW(computer, CWideText(domain)) == 0;
}

} // namespace

void MakeAccountName(const char* domain, const char* userName, CHeapString& name)
{
    name.Assign(domain);
    if (!name.IsEmpty())
        name.Append("\\");
    name.Append(userName);
}

CLookup LookUpAccount(const char* userName, const char* domain)
{
    CHeapString name;
    MakeAccountName(domain, userName, name);

    CLookup lookup;
    CHeapString foundIn;
    const DWORD error = LookUpName(name.GetText(), foundIn);
    if (error == ERROR_SUCCESS) {
        lookup.answer = CLookup::yes;
        MakeAccountName(foundIn.GetText(), userName, lookup.detail);
    } else if (error == ERROR_NONE_MAPPED && IsThisComputers(domain)) {
        lookup.answer = CLookup::no;
    } else if (error == ERROR_NONE_MAPPED) {
        lookup.detail.Assign("not found now, and a domain controller may be out of reach");
    } else {
        CSystemStatus(error).AppendText(lookup.detail);
    }
    return lookup;
}

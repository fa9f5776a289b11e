#include "DeployCalls.h"

#include "WideText.h"

#include <aclapi.h>
#include <sddl.h>

namespace {

bool ReadSecurity(HANDLE handle, SE_OBJECT_TYPE type, CHeapString& sddl)
{
    const SECURITY_INFORMATION what = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, type, what, nullptr, nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    wchar_t* text = nullptr;
    const bool converted = ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, what,
                                                                                &text, nullptr) &&
                           ToUtf8(text, sddl);
    LocalFree(text);
    LocalFree(descriptor);
    return converted;
}

} // namespace

const CDeployCalls windowsCalls = {WaitForSingleObject,   ReadSecurity,          RegisterEventSourceW,
                                   ReportEventW,          DeregisterEventSource, &windowsLogonCalls};

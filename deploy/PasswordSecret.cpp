#include "PasswordSecret.h"

#include <windows.h>

#include <ntsecapi.h>

CSystemStatus RemovePasswordSecret(bool& gone)
{
    gone = false;
    LSA_OBJECT_ATTRIBUTES attributes = {};
    LSA_HANDLE policy = nullptr;
    NTSTATUS status = LsaOpenPolicy(nullptr, &attributes, POLICY_CREATE_SECRET, &policy);
    if (status == 0) {
        wchar_t name[] = L"DefaultPassword";
        LSA_UNICODE_STRING key = {static_cast<USHORT>(sizeof name - sizeof name[0]), static_cast<USHORT>(sizeof name),
                                  name};
        // No data deletes the secret.
        status = LsaStorePrivateData(policy, &key, nullptr);
        LsaClose(policy);
    }
    const ULONG error = LsaNtStatusToWinError(status);
    gone = error == ERROR_SUCCESS;
    return CSystemStatus(error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error);
}

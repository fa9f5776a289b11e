// Takes away every right but reading from a key, for as long as the object lives: the state of
// a user without administrator rights, as Wine enforces key DACLs. Given another access list (SDDL),
// that one: "D:P" leaves nobody any right, not even to read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CReadOnlyKey
{
public:
    // path under HKEY_LOCAL_MACHINE; view KEY_WOW64_64KEY or KEY_WOW64_32KEY.
    CReadOnlyKey(const char* path, REGSAM view, const char* dacl = "D:P(A;;KR;;;WD)");
    CReadOnlyKey(const CReadOnlyKey&) = delete;
    CReadOnlyKey& operator=(const CReadOnlyKey&) = delete;
    ~CReadOnlyKey();

    bool IsApplied() const { return m_applied; }

private:
    // Kept open from before the change, so the original DACL can be put back without the rights
    // the new one takes away.
    HKEY m_handle = nullptr;
    std::vector<BYTE> m_original;
    bool m_applied = false;
};

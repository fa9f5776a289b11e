// A file's or a folder's security descriptor as Windows writes it in SDDL, read as far as judging it
// needs: the owner, and the access list with the kind, rights and trustee of each entry. The group
// and the audit list are checked for form and dropped.
#pragma once

#include "HeapString.h"
#include "OutOfMemory.h"

#include <cstdint>
#include <vector>

// A security identifier: its two-letter alias where it has one, and its "S-1-..." text unless the
// alias stands for an account of a domain, which only that domain can tell.
struct CTrustee
{
    const char* alias = nullptr;
    CHeapString sid;
};

// "BU (S-1-5-32-545)", "DA" or "S-1-5-21-1-2-3-1001": what a reason names.
CHeapString TrusteeName(const CTrustee& trustee);

struct CAccessEntry
{
    enum Kind { allow, deny, unknown };

    Kind kind = unknown;
    CHeapString type; // as written: how an unknown entry is named
    uint32_t rights = 0;
    CTrustee trustee;
};

using CAccessEntries = std::vector<CAccessEntry, CStopAllocator<CAccessEntry>>;

struct CSecurityDescriptor
{
    bool hasOwner = false;
    CTrustee owner;
    // False when there is no access list, or a null one: either way Windows lets everyone do anything.
    bool hasDacl = false;
    bool daclProtected = false;
    CAccessEntries dacl;
};

// False for any text that is not such a descriptor: a part of one read as the whole could let
// through what the rest forbids.
[[nodiscard]] bool ReadSddl(const char* sddl, CSecurityDescriptor& descriptor);

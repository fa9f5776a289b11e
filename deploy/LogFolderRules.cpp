#include "LogFolderRules.h"

#include "Sddl.h"

#include <cstring>
#include <initializer_list>

namespace {

const char* const administratorsSid = "S-1-5-32-544";
const char* const systemSid = "S-1-5-18";

// File and folder rights, as Windows numbers them.
const uint32_t fileWriteData = 0x2;       // a folder's: add a file
const uint32_t fileAppendData = 0x4;      // a folder's: add a subfolder
const uint32_t fileWriteEa = 0x10;
const uint32_t fileDeleteChild = 0x40;
const uint32_t fileWriteAttributes = 0x100;
const uint32_t deleteRight = 0x10000;
const uint32_t writeDac = 0x40000;
const uint32_t writeOwner = 0x80000;
const uint32_t maximumAllowed = 0x2000000;
const uint32_t genericAll = 0x10000000;
const uint32_t genericWrite = 0x40000000;

// Whoever holds any of these can change the log or the folder, or give themselves the right to.
const uint32_t writeRights = fileWriteData | fileAppendData | fileWriteEa | fileDeleteChild | fileWriteAttributes |
                             deleteRight | writeDac | writeOwner | maximumAllowed | genericAll | genericWrite;

bool Refuse(CHeapString& reason, std::initializer_list<const char*> parts)
{
    reason.Assign("");
    for (const char* part : parts)
        reason.Append(part);
    return false;
}

bool IsAdministratorsOrSystem(const CTrustee& trustee)
{
    return std::strcmp(trustee.sid.GetText(), administratorsSid) == 0 ||
           std::strcmp(trustee.sid.GetText(), systemSid) == 0;
}

// What both the folder and the file must be: read, no link, owned by whom the system account trusts.
bool AcceptOwned(const char* sddl, bool reparsePoint, CSecurityDescriptor& descriptor, CHeapString& reason)
{
    if (reparsePoint)
        return Refuse(reason, {"it is a reparse point (a link)"});
    if (!ReadSddl(sddl, descriptor))
        return Refuse(reason, {"its security could not be read"});
    if (!descriptor.hasOwner)
        return Refuse(reason, {"it has no owner"});
    if (!IsAdministratorsOrSystem(descriptor.owner))
        return Refuse(reason, {"it is owned by ", TrusteeName(descriptor.owner).GetText(),
                               ", not by the administrators or the system account"});
    return true;
}

} // namespace

bool AcceptLogFolder(const char* sddl, bool reparsePoint, CHeapString& reason)
{
    CSecurityDescriptor descriptor;
    if (!AcceptOwned(sddl, reparsePoint, descriptor, reason))
        return false;
    if (!descriptor.hasDacl)
        return Refuse(reason, {"it has no access list, so everyone has full access"});
    if (!descriptor.daclProtected)
        return Refuse(reason, {"its access list is not protected: it inherits entries from the folder above"});
    // Inheritance flags do not matter: an entry that applies only to what is made inside still
    // reaches the log when the program makes it. A deny entry never widens access.
    for (const CAccessEntry& entry : descriptor.dacl) {
        if (entry.kind == CAccessEntry::unknown)
            return Refuse(reason, {"its access list has an entry of a type this program does not know: ",
                                   entry.type.GetText()});
        if (entry.kind == CAccessEntry::allow && (entry.rights & writeRights) != 0 &&
            !IsAdministratorsOrSystem(entry.trustee))
            return Refuse(reason, {"it grants write access to ", TrusteeName(entry.trustee).GetText()});
    }
    reason.Assign("");
    return true;
}

bool AcceptLogFile(const char* sddl, bool reparsePoint, unsigned long links, CHeapString& reason)
{
    CSecurityDescriptor descriptor;
    if (!AcceptOwned(sddl, reparsePoint, descriptor, reason))
        return false;
    // A hard link has its target's owner, so the owner does not show one that a user made to a file
    // of the system's, which the log would then be appended to.
    if (links != 1) {
        CHeapString count;
        count.AppendDecimal(links);
        return Refuse(reason, {"it has ", count.GetText(), " links, not one"});
    }
    reason.Assign("");
    return true;
}

bool IsOwnedByAdministrators(const char* sddl)
{
    CSecurityDescriptor descriptor;
    CHeapString reason;
    return AcceptOwned(sddl, false, descriptor, reason);
}

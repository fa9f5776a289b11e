// Whether TollveyDeploy, running as the system account, may keep its log in %ProgramData%\Tollvey
// and append to deploy.log there. Any user may make a folder in ProgramData, so a folder or a file
// found there is used only when nobody but the administrators and the system account can have
// made or changed it, or can change what lies in it. Judged from the security descriptor's SDDL
// text and the few facts about the file system that it does not hold; a refusal's reason is a
// plain sentence about the folder or the file, for the caller to put after its path.
#pragma once

#include "HeapString.h"

// The folder is used when it is no reparse point, is owned by the administrators or the system
// account, has a protected access list, and lets nobody else write, delete, or change its access
// list or owner, in it or in anything made in it.
[[nodiscard]] bool AcceptLogFolder(const char* sddl, bool reparsePoint, CHeapString& reason);

// The log file, whose access list comes from the folder's: used when it is no reparse point, is
// owned by the administrators or the system account, and has one name, this one.
[[nodiscard]] bool AcceptLogFile(const char* sddl, bool reparsePoint, unsigned long links, CHeapString& reason);

// Whether the administrators or the system account own the object: whom the system account trusts
// with what it shares with them.
[[nodiscard]] bool IsOwnedByAdministrators(const char* sddl);

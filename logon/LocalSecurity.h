// What the Local Security Authority knows: this computer's domain, and the automatic logon password
// it may keep as a secret of its own.
#pragma once

#include "LogonState.h"

#include <cstddef>

// This computer's name, and whether it is a member of a domain, with the domain's names.
void ReadComputer(CComputer& computer);

// Compares the secret DefaultPassword with the registry's password, in UTF-16 (null when the
// registry holds no text to compare it with). Reading the secret takes administrator rights; what it
// holds is wiped at once and never leaves this function.
void ComparePasswordSecret(const wchar_t* registryPassword, size_t length, CPasswordSecret& secret);

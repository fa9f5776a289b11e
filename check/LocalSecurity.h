// What the Local Security Authority knows about this computer: whether it is in a domain, and
// whether it keeps the automatic logon password as a secret of its own.
#pragma once

#include "Lookup.h"

// Yes when this computer is a member of a domain.
CLookup FindDomainMembership();

// Yes when the secret DefaultPassword exists. Reading it takes administrator rights; what it holds
// is wiped at once and never leaves this function.
CLookup FindPasswordSecret();

// The LSA secret DefaultPassword, which Windows uses for automatic logon before the registry's
// DefaultPassword: one left from another tool would make Windows log on with an older password.
#pragma once

#include "SystemStatus.h"

// Removes it with Windows' own call; gone is true when there was one. A secret that is not there is
// no failure.
[[nodiscard]] CSystemStatus RemovePasswordSecret(bool& gone);

// The settings store, the changes it applies, the registry layer under it, the start-up command.
#pragma once

#include "Registry.h"
#include "RegistryKey.h"
#include "ReloadCommand.h"
#include "WinlogonChange.h"
#include "WinlogonKeys.h"
#include "WinlogonSettings.h"

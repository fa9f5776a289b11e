// The settings store, the registry layer under it and the start-up command.
#pragma once

#include "Registry.h"
#include "RegistryKey.h"
#include "ReloadCommand.h"
#include "WinlogonSettings.h"

// The settings store, the registry layer under it, the executable-path functions and the
// conversions from the UTF-16 texts Windows keeps.
#pragma once

#include "AnsiText.h"
#include "ExecutablePath.h"
#include "ExitStatus.h"
#include "Registry.h"
#include "RegistryKey.h"
#include "ReloadCommand.h"
#include "WinlogonSettings.h"

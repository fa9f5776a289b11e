// The settings store, the registry layer under it and the executable-path functions.
#pragma once

#include "ExecutablePath.h"
#include "ExitStatus.h"
#include "Registry.h"
#include "ReloadCommand.h"
#include "WinlogonSettings.h"

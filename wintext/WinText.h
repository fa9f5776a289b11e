// Text at the Windows boundary: the conversions between the UTF-8 that the programs keep and the
// UTF-16 that Windows takes, the arguments and the executable's own path in UTF-8.
#pragma once

#include "ExecutablePath.h"
#include "Utf8Arguments.h"
#include "WideText.h"

// Text at the Windows boundary: the conversions between the UTF-8 that the programs keep and the
// UTF-16 that Windows takes, and the arguments in UTF-8.
#pragma once

#include "Utf8Arguments.h"
#include "WideText.h"

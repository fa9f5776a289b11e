// The argument library: text type, argument objects and the argument set.
#pragma once

#include "CmdLine.h"
#include "CmdLineArg.h"
#include "HeapString.h"
#include "OutOfMemory.h"

// The argument library: argument objects and the argument set.
#pragma once

#include "CmdLine.h"
#include "CmdLineArg.h"

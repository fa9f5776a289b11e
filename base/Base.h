// What every library stands on: the text type and the one response to exhausted memory.
#pragma once

#include "HeapString.h"
#include "OutOfMemory.h"

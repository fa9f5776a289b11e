// CLookup: what the check program asked of Windows beyond the registry, and the answer.
#pragma once

#include "HeapString.h"

struct CLookup
{
    enum Answer { yes, no, unknown };

    Answer answer = unknown;
    // Yes: what was found. No and unknown: why, when there is more to say than the answer.
    CHeapString detail;
};

// CRunLock: Global\TollveyDeploy, held for the whole run, so that a start-up script and device
// management never interleave their writes. Any user may make an object of that name first and hold
// it for ever: one that neither the administrators nor the system account own is no run's, and a run
// goes on without it rather than never again.
#pragma once

#include "DeployCalls.h"
#include "HeapString.h"

#include <windows.h>

class CRunLock
{
public:
    enum Taken { held, busy, without };

    CRunLock() = default;
    CRunLock(const CRunLock&) = delete;
    CRunLock& operator=(const CRunLock&) = delete;
    ~CRunLock();

    // Waits up to a minute for another run to let go: busy when it does not; without, and why, when
    // there is no lock to be had.
    Taken Take(const CDeployCalls& calls, CHeapString& why);

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
};

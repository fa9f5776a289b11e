#include "RunLock.h"

#include "LogFolderRules.h"
#include "SecurityAttributes.h"
#include "SystemStatus.h"

namespace {

// How long a run waits for another to finish: longer than a run takes, shorter than device
// management waits for one.
const DWORD lockWaitMs = 60000;

// The system account's runs and an administrator's may each take a lock the other made.
const wchar_t* const lockSecurity = L"D:P(A;;GA;;;SY)(A;;GA;;;BA)";

} // namespace

CRunLock::~CRunLock()
{
    if (m_held)
        ReleaseMutex(m_mutex);
    if (m_mutex != nullptr)
        CloseHandle(m_mutex);
}

CRunLock::Taken CRunLock::Take(const CDeployCalls& calls, CHeapString& why)
{
    CSecurityAttributes attributes(lockSecurity);
    m_mutex = CreateMutexExW(attributes.Get(), L"Global\\TollveyDeploy", 0, SYNCHRONIZE | MUTEX_MODIFY_STATE | READ_CONTROL);
    const DWORD made = GetLastError();
    why.Assign("the lock Global\\TollveyDeploy ");
    if (m_mutex == nullptr) {
        why.Append("could not be had: ");
        CSystemStatus(made).AppendText(why);
        return without;
    }
    CHeapString sddl;
    if (made == ERROR_ALREADY_EXISTS &&
        !(calls.readSecurity(m_mutex, SE_KERNEL_OBJECT, sddl) && IsOwnedByAdministrators(sddl.GetText()))) {
        why.Append("is held by an account that is neither the administrators nor the system account");
        return without;
    }
    // An abandoned lock is the lock of a run that ended without letting go: taken.
    const DWORD waited = calls.waitForLock(m_mutex, lockWaitMs);
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return m_held ? held : busy;
}

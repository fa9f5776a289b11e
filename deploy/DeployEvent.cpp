#include "DeployEvent.h"

#include "DeployLog.h"
#include "DeployResource.h"
#include "ExitStatus.h"
#include "OutOfMemory.h"
#include "Registry.h"
#include "SecurityAttributes.h"
#include "WideText.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const eventSourcePath = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tollvey";
const wchar_t* const eventSource = L"Tollvey";
// Error, warning and information events.
const unsigned long typesSupported = 7;

void Explain(const char* what, CSystemStatus status, CHeapString& why)
{
    why.Assign(what);
    why.Append(": ");
    status.AppendText(why);
}

// Whether the file holds exactly these bytes: then it need not be written, and may stay in use.
bool Holds(const char* path, const void* bytes, DWORD size)
{
    const HANDLE file = CreateFileW(CWideText(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    void* held = AllocateOrStop(size + 1, 1);
    DWORD read = 0;
    const bool same = ReadFile(file, held, size + 1, &read, nullptr) && read == size &&
                      std::memcmp(held, bytes, size) == 0;
    std::free(held);
    CloseHandle(file);
    return same;
}

CSystemStatus WriteMessageFile(const char* path)
{
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_EVENT_MESSAGES), MAKEINTRESOURCEW(10));
    const HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return CSystemStatus(ERROR_RESOURCE_DATA_NOT_FOUND);
    const DWORD size = SizeofResource(nullptr, found);
    if (Holds(path, bytes, size))
        return CSystemStatus();
    CSecurityAttributes made(administratorsOwn);
    const HANDLE file = CreateFileW(CWideText(path), GENERIC_WRITE, 0, made.Get(), CREATE_ALWAYS,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return CSystemStatus(GetLastError());
    DWORD written = 0;
    const bool done = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    const CSystemStatus status(done ? ERROR_SUCCESS : GetLastError());
    CloseHandle(file);
    return status;
}

} // namespace

bool RegisterMessageFile(const char* folder, CHeapString& why)
{
    CHeapString path(folder);
    path.Append("TollveyEvents.dll");
    const CSystemStatus written = WriteMessageFile(path.GetText());
    if (!written) {
        Explain(path.GetText(), written, why);
        return false;
    }
    CRegistryKey key = CRegistry::Instance().CreateKey(CRegistry::rootLocalMachine, eventSourcePath);
    CSystemStatus registered = key.WriteString("EventMessageFile", path.GetText(), regExpandSz);
    if (registered)
        registered = key.WriteNumber("TypesSupported", typesSupported);
    if (!registered) {
        CHeapString keyName("HKEY_LOCAL_MACHINE\\");
        keyName.Append(eventSourcePath);
        Explain(keyName.GetText(), registered, why);
    }
    return static_cast<bool>(registered);
}

void ReportRunEvent(const CDeployCalls& calls, unsigned status, const char* text)
{
    const HANDLE log = calls.registerEventSource(nullptr, eventSource);
    if (log == nullptr)
        return;
    const bool done = status == exitRecordedBefore || status == exitRestartApplies;
    const CWideText wide(text);
    LPCWSTR texts[] = {wide.GetText()};
    calls.reportEvent(log, done ? EVENTLOG_INFORMATION_TYPE : EVENTLOG_ERROR_TYPE, 0, status, nullptr, 1, 0, texts,
                      nullptr);
    calls.deregisterEventSource(log);
}

#include "ExecutablePath.h"

#include "OutOfMemory.h"
#include "WideText.h"

#include <windows.h>

#include <cstdlib>

CSystemStatus GetExecutablePath(CHeapString& path)
{
    // GetModuleFileNameW truncates silently when the buffer is full, which would name another
    // file; grow until the name fits with room to spare.
    CSystemStatus status(ERROR_INSUFFICIENT_BUFFER);
    for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
        wchar_t* buffer = static_cast<wchar_t*>(AllocateOrStop(size, sizeof(wchar_t)));
        const DWORD length = GetModuleFileNameW(nullptr, buffer, size);
        if (length != 0 && length < size) {
            buffer[length] = L'\0';
            // A folder whose name holds half of a surrogate pair (NTFS allows it) has no UTF-8
            // name: the program cannot tell where it lies.
            const bool converted = ToUtf8(buffer, path);
            std::free(buffer);
            return CSystemStatus(converted ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION);
        }
        if (length == 0)
            status = CSystemStatus(GetLastError());
        std::free(buffer);
        if (length == 0)
            break;
    }
    path.Assign("");
    return status;
}

void TakeDirectory(const char* path, CHeapString& directory)
{
    const char* end = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/')
            end = p + 1;
    }
    directory.Assign(path, static_cast<size_t>(end - path));
}

CSystemStatus GetExecutableDirectory(CHeapString& directory)
{
    CHeapString path;
    const CSystemStatus status = GetExecutablePath(path);
    TakeDirectory(path.GetText(), directory);
    return status;
}

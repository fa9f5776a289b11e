#include "ExecutablePath.h"

#include <windows.h>

bool GetExecutablePath(CHeapString& path)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    // GetModuleFileNameA truncates silently when the buffer is full, which would name another
    // file; grow until the name fits with room to spare.
    for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
        char* buffer = path.Reserve(size);
        const DWORD length = GetModuleFileNameA(module, buffer, size);
        if (length == 0) {
            buffer[0] = '\0';
            return false;
        }
        if (length < size) {
            buffer[length] = '\0';
            return true;
        }
    }
    path.Assign("");
    return false;
}

void TakeDirectory(const char* path, CHeapString& directory, unsigned codePage)
{
    const char* end = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/')
            end = p + 1;
        else if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1] != '\0')
            ++p;
    }
    directory.Assign(path, static_cast<size_t>(end - path));
}

bool GetExecutableDirectory(CHeapString& directory)
{
    CHeapString path;
    const bool found = GetExecutablePath(path);
    TakeDirectory(path.GetText(), directory);
    return found;
}

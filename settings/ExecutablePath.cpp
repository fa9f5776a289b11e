#include "ExecutablePath.h"

#include "AnsiText.h"
#include "OutOfMemory.h"

#include <windows.h>

#include <cstdlib>

bool GetExecutablePath(CHeapString& path)
{
    const HMODULE module = GetModuleHandleW(nullptr);
    // The name is asked for in UTF-16, since the ANSI call hands back "?" for whatever the code page
    // cannot hold. GetModuleFileNameW truncates silently when the buffer is full, which would name
    // another file; grow until the name fits with room to spare.
    for (DWORD size = MAX_PATH; size <= 0x10000; size *= 2) {
        wchar_t* buffer = static_cast<wchar_t*>(AllocateOrStop(size, sizeof(wchar_t)));
        const DWORD length = GetModuleFileNameW(module, buffer, size);
        if (length != 0 && length < size) {
            buffer[length] = L'\0';
            const bool exact = ToActiveCodePage(buffer, path);
            std::free(buffer);
            return exact;
        }
        std::free(buffer);
        if (length == 0)
            break;
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

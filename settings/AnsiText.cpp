#include "AnsiText.h"

#include "OutOfMemory.h"

#include <windows.h>

namespace {

struct CStartupInfo
{
    int newMode;
};

} // namespace

// The C runtime's own split of the UTF-16 command line, made by the same rules as the argv that main
// and WinMain's __argv receive, so that the two vectors correspond token for token.
extern "C" int __cdecl __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment,
                                      int expandWildcards, CStartupInfo* startupInfo);

bool IsUtf8CodePage()
{
    return GetACP() == CP_UTF8;
}

bool ToActiveCodePage(const wchar_t* text, CHeapString& target)
{
    // UTF-8 takes neither the flag nor the question; it has bytes for every character anyway.
    const bool utf8 = IsUtf8CodePage();
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const askUsedDefault = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, askUsedDefault);
    if (size <= 0) {
        target.Assign("");
        return false;
    }
    char* buffer = target.Reserve(static_cast<size_t>(size - 1));
    if (WideCharToMultiByte(CP_ACP, flags, text, -1, buffer, size, nullptr, askUsedDefault) != size) {
        buffer[0] = '\0';
        return false;
    }
    return !usedDefault;
}

const wchar_t* FindUnrepresentableArgument()
{
    if (IsUtf8CodePage())
        return nullptr;
    int argc = 0;
    wchar_t** argv = nullptr;
    wchar_t** environment = nullptr;
    CStartupInfo startupInfo = {0};
    if (__wgetmainargs(&argc, &argv, &environment, 0, &startupInfo) < 0)
        StopOutOfMemory();
    CHeapString converted;
    for (int i = 1; i < argc; ++i) {
        if (!ToActiveCodePage(argv[i], converted))
            return argv[i];
    }
    return nullptr;
}

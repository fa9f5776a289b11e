// Reports, one item a line, with every byte outside printable ASCII as \xNN:
//   the path and directory the shared Windows text library finds for this executable,
//   then each argument from 1 on, in UTF-8 as the programs receive them.
// Exits with 1 when the library could not tell the path.
#include "ExecutablePath.h"
#include "Utf8Arguments.h"

#include <cstdio>

namespace {

void PrintEscaped(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p >= 0x20 && *p < 0x7F && *p != '\\')
            std::putchar(*p);
        else
            std::printf("\\x%02X", *p);
    }
    std::putchar('\n');
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CHeapString path;
    CHeapString directory;
    const bool found = static_cast<bool>(GetExecutablePath(path));
    const bool foundDirectory = static_cast<bool>(GetExecutableDirectory(directory));
    PrintEscaped(path.GetText());
    PrintEscaped(directory.GetText());
    const CUtf8Arguments arguments(argc, argv);
    for (int i = 1; i < arguments.GetCount(); ++i)
        PrintEscaped(arguments.GetVector()[i]);
    return found && foundDirectory ? 0 : 1;
}

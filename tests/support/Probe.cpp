// Reports, one item a line, with every byte outside printable ASCII as \xNN:
//   the path and directory the settings library finds for this executable,
//   then each argv entry from 1 on.
#include "ExecutablePath.h"

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

int main(int argc, char** argv)
{
    CHeapString path;
    CHeapString directory;
    GetExecutablePath(path);
    GetExecutableDirectory(directory);
    PrintEscaped(path.GetText());
    PrintEscaped(directory.GetText());
    for (int i = 1; i < argc; ++i)
        PrintEscaped(argv[i]);
    return 0;
}

// Keeps the Winlogon and RunOnce keys as it finds them, every value in every view with its type and
// bytes, and puts them back when its standard input ends: for the tests that are not C++ programs.
// Prints "kept" once it holds them, or exits 1 when a key cannot be read.
#include "RegistryState.h"

#include <cstdio>

int main()
{
    const CRegistrySnapshot snapshot({winlogonPath, runOncePath});
    if (!snapshot.IsTaken()) {
        std::puts("a key could not be read");
        return 1;
    }
    std::puts("kept");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}

// Linked into the shipped programs only, which are built without exceptions: a standard container
// asked to grow past its largest size ends the process like any other exhausted allocation,
// instead of pulling in libstdc++'s exception machinery to throw std::length_error.
#include "OutOfMemory.h"

namespace std {

[[noreturn]] void __throw_length_error(const char*)
{
    StopOutOfMemory();
}

} // namespace std

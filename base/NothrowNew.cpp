// Linked into the shipped programs only, which are built without exceptions: libstdc++'s
// non-throwing operator new calls the throwing one inside a try block, and would pull in the
// exception machinery for it. This one asks malloc, as libstdc++'s plain operator new does, so
// that libstdc++'s operator delete, and its non-throwing one, free what it gives.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size != 0 ? size : 1);
}

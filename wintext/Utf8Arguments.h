// The program's arguments in UTF-8, converted from the UTF-16 vector that the C runtime split from
// the command line, for the argument set to parse.
#pragma once

#include "HeapString.h"
#include "OutOfMemory.h"

#include <vector>

class CUtf8Arguments
{
public:
    CUtf8Arguments(int argc, const wchar_t* const* argv);
    CUtf8Arguments(const CUtf8Arguments&) = delete;
    CUtf8Arguments& operator=(const CUtf8Arguments&) = delete;

    int GetCount() const { return static_cast<int>(m_texts.size()); }
    // The first argument after the program's name that holds half of a surrogate pair, which no
    // UTF-8 text can hold: it stands in the vector as "". -1 when every argument is whole.
    int GetFirstUnconvertible() const { return m_firstUnconvertible; }
    // As the C runtime's: the program's name first and a null entry after the last argument.
    // Valid for the life of this object.
    const char* const* GetVector() const { return m_vector.data(); }

private:
    std::vector<CHeapString, CStopAllocator<CHeapString>> m_texts;
    std::vector<const char*, CStopAllocator<const char*>> m_vector;
    int m_firstUnconvertible = -1;
};

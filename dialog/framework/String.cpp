#include "framework/String.h"

CString& CString::operator=(const char* text)
{
    CHeapString copy(text);
    m_text = copy;
    return *this;
}

bool CString::LoadString(UINT id)
{
    // LoadStringA cannot report a string's length, only that it filled the buffer.
    for (int size = 256;; size *= 2) {
        char* buffer = GetBuffer(size);
        const int length = ::LoadStringA(GetModuleHandleA(nullptr), id, buffer, size);
        if (length < size - 1)
            return length > 0;
    }
}

#include "framework/String.h"

#include "AnsiText.h"

void CString::Assign(const char* text)
{
    m_text.Assign(text);
    m_lost = false;
}

bool CString::AssignWide(const wchar_t* text)
{
    m_lost = !ToActiveCodePage(text, m_text);
    return !m_lost;
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

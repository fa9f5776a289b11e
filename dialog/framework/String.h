// CString: the text type of the dialog members, UTF-8 over the project's own heap text.
#pragma once

#include "HeapString.h"

#include <windows.h>

class CString
{
public:
    CString(const char* text = "") : m_text(text) {}

    // Safe for a text inside this string's own buffer.
    CString& operator=(const char* text)
    {
        m_text.Assign(text);
        return *this;
    }
    // A text as Windows gives it, in UTF-16. False, with the string "", when the text holds half
    // of a surrogate pair.
    bool AssignWide(const wchar_t* text);

    operator const char*() const { return m_text.GetText(); }
    bool IsEmpty() const { return m_text.IsEmpty(); }

    // Room for length characters and a NUL, for the caller to fill; the text ends at the first NUL.
    char* GetBuffer(size_t length) { return m_text.Reserve(length); }

    // False when the string table has no such string, or it is empty; the text is then "".
    [[nodiscard]] bool LoadString(UINT id);

private:
    CHeapString m_text;
};

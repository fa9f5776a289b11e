// CString: the text type of the dialog members, over the project's own heap text.
#pragma once

#include "HeapString.h"

#include <windows.h>

class CString
{
public:
    CString(const char* text = "") : m_text(text), m_lost(false) {}

    // Safe for a text inside this string's own buffer.
    CString& operator=(const char* text)
    {
        Assign(text);
        return *this;
    }
    void Assign(const char* text);

    // A control's text, converted to the active code page. False when the code page cannot hold
    // some of its characters: the text then has them replaced, and HasLostCharacters says so until
    // the next assignment.
    bool AssignWide(const wchar_t* text);
    bool HasLostCharacters() const { return m_lost; }

    operator const char*() const { return m_text.GetText(); }
    bool IsEmpty() const { return m_text.IsEmpty(); }

    // Room for length characters and a NUL, for the caller to fill; the text ends at the first NUL.
    char* GetBuffer(size_t length)
    {
        m_lost = false;
        return m_text.Reserve(length);
    }

    // False when the string table has no such string, or it is empty; the text is then "".
    bool LoadString(UINT id);

private:
    CHeapString m_text;
    bool m_lost;
};

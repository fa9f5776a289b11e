#include "framework/String.h"

#include "WideText.h"

bool CString::AssignWide(const wchar_t* text)
{
    return ToUtf8(text, m_text);
}

bool CString::LoadString(UINT id)
{
    // With no buffer, LoadStringW points at the string in the resource and gives its length.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) {
        m_text.Assign("");
        return false;
    }
    return ToUtf8(text, m_text, length);
}

#include "WideText.h"

#include "OutOfMemory.h"
#include "Utf16.h"

#include <windows.h>

#include <cstdlib>

void ToCodePage(unsigned codePage, unsigned long flags, const wchar_t* text, CHeapString& target,
                int length)
{
    const int size =
        WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        target.Assign("");
        return;
    }
    // With length -1 the size counts the terminator, which the conversion then writes itself.
    const size_t bytes = static_cast<size_t>(size) - (length < 0 ? 1 : 0);
    char* buffer = target.Reserve(bytes);
    if (WideCharToMultiByte(codePage, flags, text, length, buffer, size, nullptr, nullptr) != size)
        buffer[0] = '\0';
}

bool ToUtf8(const wchar_t* text, CHeapString& target, int length)
{
    size_t units = length < 0 ? 0 : static_cast<size_t>(length);
    while (length < 0 && text[units] != L'\0')
        ++units;
    if (Utf16ToUtf8(reinterpret_cast<const unsigned char*>(text), units, target))
        return true;
    target.Assign("");
    return false;
}

CWideText::CWideText(const char* text)
{
    if (text == nullptr)
        text = "";
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    m_capacity = size > 0 ? static_cast<size_t>(size) : 1;
    m_text = static_cast<wchar_t*>(AllocateOrStop(m_capacity, sizeof(wchar_t)));
    m_text[0] = L'\0';
    if (size > 0 && MultiByteToWideChar(CP_UTF8, 0, text, -1, m_text, size) == size)
        m_length = static_cast<size_t>(size) - 1;
}

CWideText::~CWideText()
{
    // A temporary goes before the caller asks why the call it was an argument of failed.
    const DWORD error = GetLastError();
    // It may be a password on its way to the registry.
    SecureZeroMemory(m_text, m_capacity * sizeof(wchar_t));
    std::free(m_text);
    SetLastError(error);
}

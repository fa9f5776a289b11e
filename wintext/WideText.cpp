#include "WideText.h"

#include "OutOfMemory.h"

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

void ToUtf8(const wchar_t* text, CHeapString& target, int length)
{
    ToCodePage(CP_UTF8, 0, text, target, length);
}

CWideText::CWideText(const char* text) : m_text(nullptr), m_length(0)
{
    if (text == nullptr)
        text = "";
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    m_text = static_cast<wchar_t*>(AllocateOrStop(size > 0 ? static_cast<size_t>(size) : 1, sizeof(wchar_t)));
    m_text[0] = L'\0';
    if (size > 0 && MultiByteToWideChar(CP_UTF8, 0, text, -1, m_text, size) == size)
        m_length = static_cast<size_t>(size) - 1;
}

CWideText::~CWideText()
{
    std::free(m_text);
}

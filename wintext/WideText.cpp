#include "WideText.h"

#include "OutOfMemory.h"

#include <windows.h>

#include <cstdlib>

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Checked here, not with WC_ERR_INVALID_CHARS, which Windows before Vista refuses as a flag. The
// text ends at its terminator when length is negative.
bool HasLoneSurrogate(const wchar_t* text, int length)
{
    const size_t end = length < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(length);
    for (size_t i = 0; i < end && (length >= 0 || text[i] != L'\0'); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < end && IsLowSurrogate(text[i + 1]))
            ++i;
        else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i]))
            return true;
    }
    return false;
}

} // namespace

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
    if (HasLoneSurrogate(text, length)) {
        target.Assign("");
        return false;
    }
    ToCodePage(CP_UTF8, 0, text, target, length);
    return true;
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

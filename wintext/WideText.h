// Between the UTF-8 texts that the programs keep and the UTF-16 texts that Windows takes and
// gives. Both hold every character, so nothing is lost either way; but Windows also lets a text
// hold half of a surrogate pair, which is no character at all, and such a text is refused.
#pragma once

#include "HeapString.h"

#include <cstddef>

// The text up to its terminator, or its first length characters when length is not negative.
// False, with target "", when the text holds a surrogate without its other half.
[[nodiscard]] bool ToUtf8(const wchar_t* text, CHeapString& target, int length = -1);

// The same in another of Windows' code pages, with WideCharToMultiByte's flags, for showing: what
// the code page lacks, or what is not a character, becomes a stand-in. "" when the text cannot be
// converted at all.
void ToCodePage(unsigned codePage, unsigned long flags, const wchar_t* text, CHeapString& target,
                int length = -1);

// A UTF-16 copy of a UTF-8 text, for the length of one call into Windows; wiped when it goes, leaving
// the last error as that call set it.
class CWideText
{
public:
    explicit CWideText(const char* text);
    CWideText(const CWideText&) = delete;
    CWideText& operator=(const CWideText&) = delete;
    ~CWideText();

    const wchar_t* GetText() const { return m_text; }
    operator const wchar_t*() const { return m_text; }
    // In characters, without the terminator.
    size_t GetLength() const { return m_length; }

private:
    wchar_t* m_text = nullptr;
    size_t m_length = 0;
    size_t m_capacity = 0;
};

// CHeapString: the project's own heap-held, NUL-terminated 8-bit text.
#pragma once

#include <cstddef>

class CHeapString
{
public:
    CHeapString(const char* text = "") { Assign(text); }
    CHeapString(const CHeapString& other) : CHeapString(other.m_text) {}
    CHeapString& operator=(const CHeapString& other);
    ~CHeapString() { Release(); }

    // Frees the buffer; the string holds no text until the next Assign or Reserve.
    void Release();
    // Overwrites the text with zeros, which leaves "": for a password, before it is freed.
    void Wipe();

    // A buffer of n + 1 characters with characters 0 and n set to NUL, for the caller to fill.
    char* Reserve(size_t n);

    // Both are safe for a text inside this string's own buffer.
    void Assign(const char* text);
    void Assign(const char* text, size_t n);
    void Append(const char* text);
    void Append(const CHeapString& other) { Append(other.m_text); }
    void AppendDecimal(unsigned long number);

    CHeapString Substring(size_t pos, size_t count) const;

    const char* GetText() const { return m_text; }
    bool IsEmpty() const { return m_text == nullptr || m_text[0] == '\0'; }

private:
    char* m_text = nullptr;
};

// Overwrites size bytes with zeros in a way the compiler keeps, even right before a free: for a
// buffer that held a password.
void WipeBytes(void* data, size_t size);

// ASCII-only comparisons: names that ignore case do so the same way in every locale.
bool EqualsIgnoreCase(const char* a, const char* b);
bool StartsWithIgnoreCase(const char* text, const char* prefix);

#include "HeapString.h"

#include "OutOfMemory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

char* CopyOf(const char* text, size_t n)
{
    char* buffer = static_cast<char*>(AllocateOrStop(n + 1, 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return buffer;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

size_t BoundedLength(const char* text, size_t n)
{
    size_t length = 0;
    while (length < n && text[length] != '\0')
        ++length;
    return length;
}

} // namespace

CHeapString& CHeapString::operator=(const CHeapString& other)
{
    if (this != &other)
        Assign(other.m_text);
    return *this;
}

void CHeapString::Release()
{
    std::free(m_text);
    m_text = nullptr;
}

void CHeapString::Wipe()
{
    if (m_text != nullptr)
        WipeBytes(m_text, std::strlen(m_text));
}

char* CHeapString::Reserve(size_t n)
{
    Release();
    if (n == SIZE_MAX)
        StopOutOfMemory();
    m_text = static_cast<char*>(AllocateOrStop(n + 1, 1));
    m_text[0] = '\0';
    m_text[n] = '\0';
    return m_text;
}

void CHeapString::Assign(const char* text)
{
    Assign(text, SIZE_MAX);
}

void CHeapString::Assign(const char* text, size_t n)
{
    if (text == nullptr)
        text = "";
    // Copied before the old buffer goes, so a text inside this string's own buffer stays readable.
    char* copy = CopyOf(text, BoundedLength(text, n));
    std::free(m_text);
    m_text = copy;
}

void CHeapString::Append(const char* text)
{
    if (text == nullptr || text[0] == '\0')
        return;
    const size_t oldLength = m_text ? std::strlen(m_text) : 0;
    const size_t addLength = std::strlen(text);
    if (addLength >= SIZE_MAX - oldLength)
        StopOutOfMemory();
    char* buffer = static_cast<char*>(AllocateOrStop(oldLength + addLength + 1, 1));
    if (oldLength != 0)
        std::memcpy(buffer, m_text, oldLength);
    std::memcpy(buffer + oldLength, text, addLength + 1);
    std::free(m_text);
    m_text = buffer;
}

void CHeapString::AppendDecimal(unsigned long number)
{
    char digits[24];
    char* first = digits + sizeof digits - 1;
    *first = '\0';
    do {
        *--first = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    Append(first);
}

void WipeBytes(void* data, size_t size)
{
    // Through a volatile pointer, so that the writes are not dropped as dead before a free.
    for (volatile unsigned char* p = static_cast<unsigned char*>(data); size != 0; --size)
        *p++ = 0;
}

bool EqualsIgnoreCase(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (LowerAscii(*a) != LowerAscii(*b))
            return false;
    }
    return *a == *b;
}

bool StartsWithIgnoreCase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (*text == '\0' || LowerAscii(*text) != LowerAscii(*prefix))
            return false;
    }
    return true;
}

CHeapString CHeapString::Substring(size_t pos, size_t count) const
{
    CHeapString result;
    if (m_text != nullptr && pos < std::strlen(m_text))
        result.Assign(m_text + pos, count);
    return result;
}

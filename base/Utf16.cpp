#include "Utf16.h"

namespace {

unsigned Unit(const unsigned char* data, size_t at)
{
    return data[2 * at] | static_cast<unsigned>(data[2 * at + 1]) << 8;
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char* Encode(unsigned long codePoint, char* out)
{
    if (codePoint < 0x80) {
        *out++ = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        *out++ = static_cast<char>(0xC0 | codePoint >> 6);
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        *out++ = static_cast<char>(0xE0 | codePoint >> 12);
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | codePoint >> 18);
        *out++ = static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

} // namespace

bool Utf16ToUtf8(const unsigned char* data, size_t units, CHeapString& target)
{
    // A unit never takes more than three bytes: a pair, two units, takes four.
    char* const start = target.Reserve(units * 3);
    char* out = start;
    bool whole = true;
    for (size_t i = 0; i < units; ++i) {
        const unsigned unit = Unit(data, i);
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(Unit(data, i + 1))) {
            out = Encode(0x10000 + ((unit - 0xD800UL) << 10) + (Unit(data, i + 1) - 0xDC00), out);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            out = Encode(0xFFFD, out);
            whole = false;
        } else {
            out = Encode(unit, out);
        }
    }
    *out = '\0';
    return whole;
}

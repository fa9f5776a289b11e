// What a read of a registry value gives, from what Windows answers to RegQueryValueExW, among them
// answers no real registry gives on demand: a value that grows between its two queries, one deleted
// between them, a read refused.
#include "ValueRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const unsigned long denied = 5, moreData = 234;
const std::string nul(2, '\0');

// The registry's bytes of a text: little-endian UTF-16, without a terminator.
std::string Le(const std::u16string& text)
{
    std::string bytes;
    for (char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

// The value at each query, in turn, the last staying: Windows' status, or the data. A query for the
// data answers ERROR_MORE_DATA when the value has grown beyond the size asked before.
struct Case
{
    const char* label;
    unsigned long type;
    std::vector<std::string> steps; // a number alone: that status
    CValueRead::State state;
    std::string text;
    unsigned long number = 0;
    unsigned long status = 0;
    mutable size_t calls = 0;
};

unsigned long Query(const void* context, unsigned long* type, unsigned char* data, unsigned long* size)
{
    const Case& c = *static_cast<const Case*>(context);
    const std::string& step = c.steps[std::min(c.calls++, c.steps.size() - 1)];
    if (!step.empty() && step[0] == '#')
        return std::stoul(step.substr(1));
    const bool fits = step.size() <= *size;
    *type = c.type;
    *size = static_cast<unsigned long>(step.size());
    if (data != nullptr && !fits)
        return moreData;
    if (data != nullptr)
        step.copy(reinterpret_cast<char*>(data), step.size());
    return 0;
}

TEST(ValueRead, EachAnswerGivesItsRead)
{
    const Case cases[] = {
        {"missing", regSz, {"#2"}, CValueRead::missing, ""},
        {"refused", regSz, {"#5"}, CValueRead::unreadable, "", 0, denied},
        {"REG_SZ in every language", regSz, {Le(u"José Дмитрий 山田 😀") + nul}, CValueRead::read, "José Дмитрий 山田 😀"},
        {"REG_SZ without terminator", regSz, {Le(u"abc")}, CValueRead::read, "abc"},
        {"REG_SZ of an odd size", regSz, {Le(u"ab") + "c"}, CValueRead::read, "ab"},
        {"REG_SZ with an inner zero", regSz, {Le(u"ab") + nul + Le(u"cd") + nul}, CValueRead::read, "ab"},
        {"empty REG_SZ of no bytes", regSz, {""}, CValueRead::read, ""},
        {"REG_EXPAND_SZ unexpanded", regExpandSz, {Le(u"%SystemRoot%") + nul}, CValueRead::read, "%SystemRoot%"},
        {"REG_MULTI_SZ a line each, the first empty", regMultiSz, {nul + Le(u"Authorised") + nul + Le(u"users") + nul + nul},
         CValueRead::read, "\nAuthorised\nusers"},
        {"half a pair", regSz, {Le(u"A\xD800") + nul}, CValueRead::unreadable, "", 0, statusNotWholeUtf16},
        {"half a pair in a list's second string", regMultiSz, {Le(u"a") + nul + Le(u"\xDC00") + nul + nul},
         CValueRead::unreadable, "", 0, statusNotWholeUtf16},
        {"REG_BINARY as its bytes", regBinary, {"pw"}, CValueRead::read, "pw"},
        {"REG_DWORD", regDword, {std::string("ab\0\0", 4)}, CValueRead::read, "ab", 0x6261},
        {"REG_DWORD of two bytes", regDword, {"\x01\x02"}, CValueRead::read, "\x01\x02", 0x0201},
        {"grown between its queries, read again", regSz, {Le(u"short") + nul, Le(u"longer") + nul}, CValueRead::read,
         "longer"},
        {"grown at every read", regSz, {"", "xx", "xx", "xxxx", "xxxx", "xxxxxx"}, CValueRead::unreadable, "", 0,
         moreData},
        {"deleted between its queries", regSz, {Le(u"gone") + nul, "#2"}, CValueRead::missing, ""},
    };
    for (const Case& c : cases) {
        CValueRead value;
        value.SetText("before");
        ReadValue(Query, &c, value);
        EXPECT_EQ(value.state, c.state) << c.label;
        EXPECT_EQ(value.text.GetText(), c.text) << c.label;
        EXPECT_EQ(value.number, c.number) << c.label;
        EXPECT_EQ(value.status, c.status) << c.label;
        EXPECT_STREQ(value.reason.GetText(), c.status == statusNotWholeUtf16 ? "not whole UTF-16" : "") << c.label;
    }
}

} // namespace

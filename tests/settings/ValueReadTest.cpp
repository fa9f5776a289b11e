// What a read of a registry value gives, from what Windows answers to RegQueryValueExW, among them
// answers no real registry gives on demand: a value that grows between its two queries, one deleted
// between them, a read refused.
#include "ValueRead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const unsigned long notFound = 2, denied = 5, moreData = 234;

// The registry's bytes of a text: little-endian UTF-16, without a terminator.
std::string Le(const std::u16string& text)
{
    std::string bytes;
    for (char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

const std::string nul(2, '\0');

// The value at each query, in turn, the last staying: Windows' status and the data. A query for the
// data answers ERROR_MORE_DATA when the value has grown beyond the size asked before.
struct CStep
{
    unsigned long status;
    std::string data;
};

struct CFake
{
    unsigned long type;
    std::vector<CStep> steps;
    size_t calls = 0;
};

unsigned long Query(const void* context, unsigned long* type, unsigned char* data, unsigned long* size)
{
    CFake& fake = *const_cast<CFake*>(static_cast<const CFake*>(context));
    const CStep& step = fake.steps[std::min(fake.calls++, fake.steps.size() - 1)];
    const bool fits = step.data.size() <= *size;
    *type = fake.type;
    *size = static_cast<unsigned long>(step.data.size());
    if (step.status != 0 || data == nullptr)
        return step.status;
    if (!fits)
        return moreData;
    step.data.copy(reinterpret_cast<char*>(data), step.data.size());
    return 0;
}

TEST(ValueRead, EachAnswerGivesItsRead)
{
    struct Case
    {
        const char* label;
        unsigned long type;
        std::vector<CStep> steps;
        CValueRead::State state;
        std::string text;
        unsigned long number = 0;
        unsigned long status = 0;
    };
    const std::string grown = Le(u"longer") + nul;
    const Case cases[] = {
        {"missing", regSz, {{notFound, ""}}, CValueRead::missing, ""},
        {"refused", regSz, {{denied, ""}}, CValueRead::unreadable, "", 0, denied},
        {"REG_SZ in every language", regSz, {{0, Le(u"José Дмитрий 山田 😀") + nul}}, CValueRead::read,
         "José Дмитрий 山田 😀"},
        {"REG_SZ without terminator", regSz, {{0, Le(u"abc")}}, CValueRead::read, "abc"},
        {"REG_SZ of an odd size", regSz, {{0, Le(u"ab") + "c"}}, CValueRead::read, "ab"},
        {"REG_SZ with an inner zero", regSz, {{0, Le(u"ab") + nul + Le(u"cd") + nul}}, CValueRead::read, "ab"},
        {"empty REG_SZ of no bytes", regSz, {{0, ""}}, CValueRead::read, ""},
        {"REG_EXPAND_SZ unexpanded", regExpandSz, {{0, Le(u"%SystemRoot%") + nul}}, CValueRead::read,
         "%SystemRoot%"},
        {"REG_MULTI_SZ a line each, the first empty", regMultiSz,
         {{0, nul + Le(u"Authorised") + nul + Le(u"users") + nul + nul}}, CValueRead::read, "\nAuthorised\nusers"},
        {"half a pair", regSz, {{0, Le(u"A\xD800") + nul}}, CValueRead::unreadable, "", 0, statusNotWholeUtf16},
        {"half a pair in a list's second string", regMultiSz, {{0, Le(u"a") + nul + Le(u"\xDC00") + nul + nul}},
         CValueRead::unreadable, "", 0, statusNotWholeUtf16},
        {"REG_BINARY as its bytes", regBinary, {{0, "pw"}}, CValueRead::read, "pw"},
        {"REG_DWORD", regDword, {{0, std::string("ab\0\0", 4)}}, CValueRead::read, "ab", 0x6261},
        {"REG_DWORD of two bytes", regDword, {{0, "\x01\x02"}}, CValueRead::read, "\x01\x02", 0x0201},
        {"grown between its queries, read again", regSz, {{0, Le(u"short") + nul}, {0, grown}}, CValueRead::read,
         "longer"},
        {"grown at every read", regSz,
         {{0, ""}, {0, "xx"}, {0, "xx"}, {0, "xxxx"}, {0, "xxxx"}, {0, "xxxxxx"}, {0, "xxxxxx"}},
         CValueRead::unreadable, "", 0, moreData},
        {"deleted between its queries", regSz, {{0, Le(u"gone") + nul}, {notFound, ""}}, CValueRead::missing, ""},
    };
    for (const Case& c : cases) {
        CFake fake = {c.type, c.steps};
        CValueRead value;
        value.SetText("before");
        ReadValue(Query, &fake, value);
        EXPECT_EQ(value.state, c.state) << c.label;
        EXPECT_EQ(value.text.GetText(), c.text) << c.label;
        EXPECT_EQ(value.number, c.number) << c.label;
        EXPECT_EQ(value.status, c.status) << c.label;
        EXPECT_STREQ(value.reason.GetText(), c.status == statusNotWholeUtf16 ? "not whole UTF-16" : "") << c.label;
    }
}

} // namespace

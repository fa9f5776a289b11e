#include "Utf8Arguments.h"
#include "WideText.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

struct CTextCase
{
    const char* label;
    const char* utf8;
    const wchar_t* utf16;
};

// Both forms written out by their code units, so that neither is derived from the code under test.
const CTextCase texts[] = {
    {"empty", "", L""},
    {"ASCII", "alice", L"alice"},
    {"Latin-1", "Jos\xC3\xA9", L"Jos\u00E9"},
    {"Greek", "\xCE\xA9mega", L"\u03A9mega"},
    {"Cyrillic", "\xD0\x94\xD0\xBC", L"\u0414\u043C"},
    {"CJK", "\xE5\xB1\xB1\xE7\x94\xB0 \xE3\x82\xBD", L"\u5C71\u7530 \u30BD"},
    {"outside the Basic Multilingual Plane", "\xF0\x9F\x98\x80x", L"\xD83D\xDE00x"},
};

TEST(WideText, ToUtf8GivesEveryCharacterExactly)
{
    for (const CTextCase& c : texts) {
        CHeapString target("stale");
        EXPECT_TRUE(ToUtf8(c.utf16, target)) << c.label;
        EXPECT_STREQ(target.GetText(), c.utf8) << c.label;
    }
}

TEST(WideText, ToUtf8TakesTheLengthGiven)
{
    struct Case
    {
        const char* label;
        const wchar_t* text;
        int length;
        const char* utf8;
    };
    const Case cases[] = {
        {"part of a text", L"\u03A9mega and more", 5, "\xCE\xA9mega"},
        {"a pair outside the Basic Multilingual Plane", L"\xD83D\xDE00x", 2, "\xF0\x9F\x98\x80"},
        {"none of it", L"abc", 0, ""},
    };
    for (const Case& c : cases) {
        CHeapString target("stale");
        EXPECT_TRUE(ToUtf8(c.text, target, c.length)) << c.label;
        EXPECT_STREQ(target.GetText(), c.utf8) << c.label;
    }
}

TEST(WideText, ToUtf8RefusesHalfOfASurrogatePair)
{
    struct Case
    {
        const char* label;
        const wchar_t* text;
        int length;
    };
    const Case cases[] = {
        {"a high half at the end", L"ab\xD83D", -1},
        {"a low half alone", L"a\xDE00" L"z", -1},
        {"a high half before another character", L"\xD83Dx", -1},
        {"a pair cut by the length", L"\xD83D\xDE00", 1},
    };
    for (const Case& c : cases) {
        CHeapString target("stale");
        EXPECT_FALSE(ToUtf8(c.text, target, c.length)) << c.label;
        EXPECT_STREQ(target.GetText(), "") << c.label;
    }
}

TEST(WideText, WideTextGivesEveryCharacterExactly)
{
    for (const CTextCase& c : texts) {
        const CWideText wide(c.utf8);
        EXPECT_EQ(std::wstring(wide.GetText()), c.utf16) << c.label;
        EXPECT_EQ(wide.GetLength(), std::wcslen(c.utf16)) << c.label;
    }
    EXPECT_EQ(std::wstring(CWideText(nullptr).GetText()), L"") << "null counts as empty";
}

TEST(Utf8Arguments, ConvertsEachArgumentAndEndsWithNull)
{
    const wchar_t* const argv[] = {L"prog.exe", L"-u=\u03A9mega", L"", L"-p=\xD83D\xDE00 \u5C71", nullptr};
    const char* const expected[] = {"prog.exe", "-u=\xCE\xA9mega", "", "-p=\xF0\x9F\x98\x80 \xE5\xB1\xB1"};
    const CUtf8Arguments arguments(4, argv);
    ASSERT_EQ(arguments.GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(arguments.GetVector()[i], expected[i]) << "argument " << i;
    EXPECT_EQ(arguments.GetVector()[4], nullptr) << "the entry after the last";
    EXPECT_EQ(arguments.GetFirstUnconvertible(), -1) << "every argument whole";
}

TEST(Utf8Arguments, NamesTheFirstArgumentWithHalfAPairButNotTheProgram)
{
    const wchar_t* const argv[] = {L"C:\\a\xD800\\prog.exe", L"-u=a", L"-p=\xDC00", L"-d=\xD800"};
    EXPECT_EQ(CUtf8Arguments(4, argv).GetFirstUnconvertible(), 2);
    EXPECT_EQ(CUtf8Arguments(2, argv).GetFirstUnconvertible(), -1) << "the program's own name";
}

TEST(Utf8Arguments, NoVectorGivesNoArguments)
{
    for (const int argc : {0, 3}) {
        const CUtf8Arguments arguments(argc, nullptr);
        EXPECT_EQ(arguments.GetCount(), 0) << "argc " << argc;
        EXPECT_EQ(arguments.GetVector()[0], nullptr) << "argc " << argc;
    }
}

} // namespace

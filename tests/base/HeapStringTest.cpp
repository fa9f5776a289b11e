#include "HeapString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(HeapString, ConstructionCopiesTheTextAndNullCountsAsEmpty)
{
    char source[] = "alice";
    CHeapString s(source);
    source[0] = 'X';
    EXPECT_STREQ(s.GetText(), "alice");
    EXPECT_STREQ(CHeapString().GetText(), "");
    EXPECT_STREQ(CHeapString(nullptr).GetText(), "");
}

TEST(HeapString, CopiesNeverShareABuffer)
{
    CHeapString a("text");
    CHeapString b(a);
    CHeapString c;
    c = a;
    EXPECT_NE(a.GetText(), b.GetText());
    EXPECT_NE(a.GetText(), c.GetText());
    EXPECT_STREQ(b.GetText(), "text");
    EXPECT_STREQ(c.GetText(), "text");
    CHeapString& alias = c;
    c = alias;
    EXPECT_STREQ(c.GetText(), "text") << "self-assignment keeps the text";
}

TEST(HeapString, ReleaseLeavesNoTextAndTheStringStaysUsable)
{
    CHeapString s("x");
    s.Release();
    EXPECT_EQ(s.GetText(), nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s.Append("after");
    EXPECT_STREQ(s.GetText(), "after");
    s.Release();
    EXPECT_STREQ(s.Substring(0, 3).GetText(), "");
}

TEST(HeapString, ReserveTerminatesBothEnds)
{
    CHeapString s("old");
    char* buffer = s.Reserve(4);
    EXPECT_EQ(buffer, s.GetText());
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[4], '\0');
    std::memcpy(buffer, "abcd", 4);
    EXPECT_STREQ(s.GetText(), "abcd");
    EXPECT_STREQ(CHeapString().Reserve(0), "");
}

TEST(HeapString, AssignWithCountStopsAtTheTextsEndOrAfterCount)
{
    struct Case { const char* text; size_t n; const char* expected; };
    const Case cases[] = {
        {"abcdef", 3, "abc"}, {"ab", 10, "ab"}, {"abc", 0, ""}, {nullptr, 5, ""}, {"abc", SIZE_MAX, "abc"},
    };
    for (const Case& c : cases) {
        CHeapString s("previous");
        s.Assign(c.text, c.n);
        EXPECT_STREQ(s.GetText(), c.expected) << "Assign(" << (c.text ? c.text : "null") << ", " << c.n << ")";
    }
    CHeapString s("previous");
    s.Assign(nullptr);
    EXPECT_STREQ(s.GetText(), "");

    CHeapString own("prefix-tail");
    own.Assign(own.GetText() + 7);
    EXPECT_STREQ(own.GetText(), "tail") << "assigning a tail of the string's own text";
    own.Assign(own.GetText(), 2);
    EXPECT_STREQ(own.GetText(), "ta") << "assigning a head of the string's own text";
}

TEST(HeapString, AppendIncludingItsOwnText)
{
    CHeapString s("ab");
    s.Append(nullptr);
    s.Append("");
    EXPECT_STREQ(s.GetText(), "ab");
    s.Append(s.GetText());
    EXPECT_STREQ(s.GetText(), "abab") << "appending the string's own text";
    s.Append(s.GetText() + 3);
    EXPECT_STREQ(s.GetText(), "ababb") << "appending a tail of the string's own text";
    s.Append(CHeapString("!"));
    EXPECT_STREQ(s.GetText(), "ababb!");
}

TEST(HeapString, Substring)
{
    struct Case { const char* text; size_t pos; size_t count; const char* expected; };
    const Case cases[] = {
        {"hello", 1, 3, "ell"},  {"hello", 1, SIZE_MAX, "ello"}, {"hello", 4, 10, "o"},
        {"hello", 5, 1, ""},     {"hello", 99, 1, ""},           {"hello", 0, 0, ""},
        {"", 0, 5, ""},
    };
    for (const Case& c : cases) {
        CHeapString s(c.text);
        EXPECT_STREQ(s.Substring(c.pos, c.count).GetText(), c.expected)
            << "\"" << c.text << "\".Substring(" << c.pos << ", " << c.count << ")";
        EXPECT_STREQ(s.GetText(), c.text) << "the source stays as it was";
    }
}

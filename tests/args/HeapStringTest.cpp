#include "HeapString.h"

#include <gtest/gtest.h>

#include <cstdint>
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

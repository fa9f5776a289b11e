#include "Argv.h"
#include "CmdLine.h"

#include <gtest/gtest.h>

TEST(CmdLineParse, PrefixMatchingFollowsRegistrationOrder)
{
    struct Set : CCmdLine
    {
        CCmdLineArgString d{"d", "", "", 0};
        CCmdLineArgString domain{"domain", "", "", 0};
        Set() { Add(d); Add(domain); }
    };
    Set first;
    EXPECT_TRUE(ParseTokens(first, CArgv{"-domain=x"}));
    EXPECT_STREQ(first.d.GetValue(), "omain=x") << "-domain reaches d, registered first";
    EXPECT_FALSE(first.domain.IsGiven());

    Set second;
    EXPECT_TRUE(ParseTokens(second, CArgv{"-d=1", "-domain=x"}));
    EXPECT_STREQ(second.d.GetValue(), "1");
    EXPECT_STREQ(second.domain.GetValue(), "x") << "once d is given, -domain reaches domain";
}

TEST(CmdLineParse, PositionalArguments)
{
    struct Set : CCmdLine
    {
        CCmdLineArgString mode{"mode", "", "", CCmdLineArg::flagPositional};
        CCmdLineArgString file{"file", "", "", CCmdLineArg::flagPositional};
        CCmdLineArgString named{"m", "", "", 0};
        Set()
        {
            mode.AddAllowedValue("fast");
            mode.AddAllowedValue("safe");
            Add(mode);
            Add(named);
            Add(file);
        }
    };
    struct Case { CArgv argv; bool accepted; const char* mode; const char* file; const char* named; };
    const Case cases[] = {
        {CArgv{"FAST", "a.txt"}, true, "FAST", "a.txt", ""},
        {CArgv{"a.txt"}, false, "", "", ""},                  // the first positional rejects it; file is not tried
        {CArgv{"safe", "a", "b"}, false, "safe", "a", ""},    // no positional left for b
        {CArgv{"-m=anything", "fast"}, true, "fast", "", "anything"},  // allowed values restrict bare tokens only
        {CArgv{"-mode=x"}, true, "", "", "ode=x"},            // positional arguments have no name on the line
        {CArgv{"fast", ""}, false, "fast", "", ""},           // an empty token is never a value
    };
    int index = 0;
    for (const Case& c : cases) {
        Set set;
        EXPECT_EQ(ParseTokens(set, c.argv), c.accepted) << "case " << index;
        EXPECT_STREQ(set.mode.GetValue(), c.mode) << "case " << index;
        EXPECT_STREQ(set.file.GetValue(), c.file) << "case " << index;
        EXPECT_STREQ(set.named.GetValue(), c.named) << "case " << index;
        ++index;
    }
}

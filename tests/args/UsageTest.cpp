#include "Argv.h"
#include "CmdLine.h"

#include <gtest/gtest.h>

namespace {

// Three groups of rules over six optional arguments, and two required ones.
struct CRuleSet : CCmdLine
{
    CCmdLineArgString a{"a", "", "", 0};
    CCmdLineArgString b{"b", "", "", 0};
    CCmdLineArgString c{"c", "", "", 0};
    CCmdLineArgString k{"k", "", "", 0};
    CCmdLineArgString e{"e", "", "", 0};
    CCmdLineArgString f{"f", "", "", 0};
    CCmdLineArgString q{"q", "", "", CCmdLineArg::flagRequired};
    CCmdLineArgString s{"s", "", "", CCmdLineArg::flagRequired};

    CRuleSet()
    {
        for (CCmdLineArg* arg : std::initializer_list<CCmdLineArg*>{&a, &b, &c, &k, &e, &f, &q, &s})
            Add(*arg);
        AddExclusiveGroup({&a, &b, &c});
        AddDependency(k, e);
        AddDependency(k, f);
    }
};

} // namespace

TEST(CmdLineRules, FirstFailingRuleIsReported)
{
    struct Case { CArgv argv; const char* error; };
    const Case cases[] = {
        {CArgv{"-q", "-s"}, ""},
        {CArgv{"-x"}, "Invalid argument: -x\n\n"},  // token errors come before every rule
        {CArgv{"-b", "-e", "-x"}, "Invalid argument: -x\n\n"},
        {CArgv{"-c", "-a", "-e"}, "Exclusive arguments: a and c\n\n"},  // group order, not command-line order
        {CArgv{"-c", "-b", "-a"}, "Exclusive arguments: a and b\n\n"},  // three given: the first two named
        {CArgv{"-b", "-c", "-q", "-s"}, "Exclusive arguments: b and c\n\n"},
        {CArgv{"-f", "-e"}, "e is invalid without k\n\n"},  // before the missing required ones
        {CArgv{"-k", "-e", "-f", "-s"}, "Missing required argument: q\n\n"},
        {CArgv{}, "Missing required argument: q\n\n"},  // several missing: the first registered
        {CArgv{"-q"}, "Missing required argument: s\n\n"},
    };
    int index = 0;
    for (const Case& c : cases) {
        CRuleSet set;
        const bool expectedResult = c.error[0] == '\0';
        EXPECT_EQ(ParseTokens(set, c.argv), expectedResult) << "case " << index;
        EXPECT_STREQ(set.GetErrorText(), c.error) << "case " << index;
        EXPECT_STREQ(set.GetErrorText(), c.error) << "case " << index << ", asked twice";
        ++index;
    }
}

TEST(CmdLineRules, DependenciesAreVisitedByPrerequisiteName)
{
    struct Set : CCmdLine
    {
        CCmdLineArgString zeta{"zeta", "", "", 0};
        CCmdLineArgString alpha{"alpha", "", "", 0};
        CCmdLineArgString x{"x", "", "", 0};
        CCmdLineArgString y{"y", "", "", 0};
        Set()
        {
            Add(zeta); Add(alpha); Add(x); Add(y);
            AddDependency(zeta, x);
            AddDependency(alpha, y);
        }
    };
    Set set;
    const CArgv argv{"-x", "-y"};
    EXPECT_FALSE(ParseTokens(set, argv));
    EXPECT_STREQ(set.GetErrorText(), "y is invalid without alpha\n\n");
}

TEST(CmdLineUsage, EveryKindOfEntryNotesAndWidth)
{
    struct Set : CCmdLine
    {
        CCmdLineArgString u{"u", "user", "", 0};
        CCmdLineArgString mode{"mode", "how", "", CCmdLineArg::flagRequired};
        CCmdLineArgString file{"file", "input", "", CCmdLineArg::flagPositional};
        CCmdLineArgToggle quiet{"q", "quiet", false, false, 0};
        Set()
        {
            mode.AddAllowedValue("a");
            mode.AddAllowedValue("b");
            file.AddAllowedValue("x");
            Add(u); Add(mode); Add(file); Add(quiet);
            AddUsageNote("Notes come first.");
            AddUsageNote("");
        }
    };
    Set set;
    EXPECT_STREQ(set.GetUsage(true),
                 "[-u=<string>] -mode=<string>{a|b} [<file>{x}] [-q] \n"
                 "\n"
                 "Notes come first.\n"
                 "\n"
                 "\n"
                 "-u     user\n"
                 "-mode  how\n"
                 "file   input\n"
                 "-q     quiet\n");
}

TEST(CmdLineUsage, SetWithoutArguments)
{
    CCmdLine bare;
    EXPECT_STREQ(bare.GetUsage(false), "\n");
    EXPECT_STREQ(bare.GetUsage(true), "\n");

    CCmdLine noted;
    noted.AddUsageNote("only a note");
    EXPECT_STREQ(noted.GetUsage(true), "\n\nonly a note\n");
}

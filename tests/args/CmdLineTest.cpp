#include "ConsoleLikeSet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a set shaped like the console's holds after one token: which argument took it and its value.
struct TokenCase
{
    const char* token;
    bool accepted;
    const char* given;  // "u", "d", "r", "?" or nullptr
    const char* value;  // string value, or "on"/"off" for toggles
};

std::string DescribeGiven(const CConsoleLikeSet& set)
{
    std::string given;
    if (set.user.IsGiven()) given += std::string("u=") + set.user.GetValue() + ";";
    if (set.password.IsGiven()) given += std::string("p=") + set.password.GetValue() + ";";
    if (set.domain.IsGiven()) given += std::string("d=") + set.domain.GetValue() + ";";
    if (set.reload.IsGiven()) given += std::string("r=") + (set.reload.GetValue() ? "on" : "off") + ";";
    if (set.help.IsGiven()) given += std::string("?=") + (set.help.GetValue() ? "on" : "off") + ";";
    return given;
}

} // namespace

TEST(CmdLineParse, TokenForms)
{
    const TokenCase cases[] = {
        {"-u=john", true, "u", "john"},      {"-u:john", true, "u", "john"},
        {"-ujohn", true, "u", "john"},       {"/U=john", true, "u", "john"},
        {"-d", true, "d", ""},               {"-d=", true, "d", ""},
        {"-u==x", true, "u", "=x"},          {"-username=x", true, "u", "sername=x"},
        {"-r", true, "r", "on"},             {"-r+", true, "r", "on"},
        {"-r=+", true, "r", "on"},           {"-r=", true, "r", "on"},
        {"-r-", true, "r", "off"},           {"-r:-", true, "r", "off"},
        {"-r+x", true, "r", "on"},           {"-R-", true, "r", "off"},
        {"-rx", false, "r", nullptr},        {"-reload", false, "r", nullptr},
        {"-?", true, "?", "on"},             {"/?", true, "?", "on"},
        {"-?-", true, "?", "off"},           {"-x", false, nullptr, nullptr},
        {"-", false, nullptr, nullptr},      {"/", false, nullptr, nullptr},
        {"john", false, nullptr, nullptr},   {"", false, nullptr, nullptr},
    };
    for (const TokenCase& c : cases) {
        CConsoleLikeSet set;
        const CArgv argv{c.token};
        const bool accepted = ParseTokens(set, argv);
        EXPECT_EQ(accepted, c.accepted) << "token \"" << c.token << "\"";
        // A toggle that fails on its value is given, but its state means nothing: only the name is checked.
        const bool nameOnly = c.given != nullptr && c.value == nullptr;
        std::string expected;
        if (c.given != nullptr)
            expected = std::string(c.given) + "=" + (nameOnly ? "" : std::string(c.value) + ";");
        const std::string given = DescribeGiven(set);
        EXPECT_EQ(nameOnly ? given.substr(0, expected.size()) : given, expected) << "token \"" << c.token << "\"";
        EXPECT_STREQ(set.GetErrorText(), c.accepted ? "" : (std::string("Invalid argument: ") + c.token + "\n\n").c_str())
            << "token \"" << c.token << "\"";
    }
}

TEST(CmdLineParse, RepeatedArgumentFailsAtTheRepeatAndEarlierTokensStaySet)
{
    CConsoleLikeSet set;
    const CArgv argv{"-u=a", "-p=x", "-u=b", "-d=never"};
    EXPECT_FALSE(ParseTokens(set, argv));
    EXPECT_STREQ(set.user.GetValue(), "a");
    EXPECT_STREQ(set.password.GetValue(), "x");
    EXPECT_FALSE(set.domain.IsGiven()) << "tokens after the failing one are not looked at";
    EXPECT_STREQ(set.GetErrorText(), "Invalid argument: -u=b\n\n");
}

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

TEST(CmdLineParse, TokensAndTheirCount)
{
    CConsoleLikeSet unparsed;
    EXPECT_EQ(unparsed.GetTokenCount(), 0u);
    EXPECT_EQ(unparsed.GetToken(0), nullptr) << "no vector before Parse";

    CConsoleLikeSet none;
    const CArgv programOnly{};
    EXPECT_TRUE(ParseTokens(none, programOnly));
    EXPECT_EQ(none.GetTokenCount(), 0u);
    EXPECT_STREQ(none.GetToken(0), "prog");
    EXPECT_EQ(none.GetToken(1), nullptr);

    CConsoleLikeSet two;
    const CArgv argv{"-u=a", "-d"};
    EXPECT_TRUE(ParseTokens(two, argv));
    EXPECT_EQ(two.GetTokenCount(), 2u);
    EXPECT_STREQ(two.GetToken(0), "prog");
    EXPECT_STREQ(two.GetToken(2), "-d");
    EXPECT_EQ(two.GetToken(3), nullptr);
    EXPECT_EQ(two.GetToken(UINT32_MAX), nullptr);

    CConsoleLikeSet empty;
    const char* const noProgramName[] = {nullptr};
    EXPECT_TRUE(empty.Parse(0, noProgramName)) << "argc 0 means no tokens, not four billion";
    EXPECT_EQ(empty.GetTokenCount(), 0u);
}

// The console program's real argument set: its registration as the usage text and the defaults
// show it, and what it makes of each form of token.
#include "Argv.h"
#include "ConsoleCmdLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A toggle that fails on its value is given without a state: toggles show theirs only after a
// successful parse.
const char* StateOf(const CCmdLineArgToggle& toggle, bool parsed)
{
    return !parsed ? "" : toggle.GetValue() ? "=on" : "=off";
}

// Which arguments took a token, with their values.
std::string DescribeGiven(const CConsoleCmdLine& set, bool parsed)
{
    std::string given;
    if (set.m_userName.IsGiven()) given += std::string("u=") + set.m_userName.GetValue() + ";";
    if (set.m_password.IsGiven()) given += std::string("p=") + set.m_password.GetValue() + ";";
    if (set.m_domain.IsGiven()) given += std::string("d=") + set.m_domain.GetValue() + ";";
    if (set.m_reload.IsGiven()) given += std::string("r") + StateOf(set.m_reload, parsed) + ";";
    if (set.m_help.IsGiven()) given += std::string("?") + StateOf(set.m_help, parsed) + ";";
    return given;
}

} // namespace

// Order, names, descriptions and the toggles' choices, byte for byte.
TEST(ConsoleCmdLine, UsageShowsTheRegistration)
{
    CConsoleCmdLine set;
    const char* expected =
        "[-u=<string>] [-p=<string>] [-d=<string>] [-r{+|-}] [-?] \n"
        "\n"
        "-u  username\n"
        "-p  password\n"
        "-d  domain name\n"
        "-r  reload on every startup (default is on)\n"
        "-?  help\n";
    EXPECT_STREQ(set.GetUsage(true), expected);
    EXPECT_STREQ(set.GetUsage(true), expected) << "asked twice, not accumulated";
    EXPECT_STREQ(set.GetUsage(false), "[-u=<string>] [-p=<string>] [-d=<string>] [-r{+|-}] [-?] \n");
}

TEST(ConsoleCmdLine, TokenForms)
{
    struct Case { const char* token; bool accepted; const char* given; };
    const Case cases[] = {
        {"-u=john", true, "u=john;"},        {"-u:john", true, "u=john;"},
        {"-ujohn", true, "u=john;"},         {"/U=john", true, "u=john;"},
        {"-d", true, "d=;"},                 {"-d=", true, "d=;"},
        {"-u==x", true, "u==x;"},            {"-username=x", true, "u=sername=x;"},
        {"-r", true, "r=on;"},               {"-r+", true, "r=on;"},
        {"-r=+", true, "r=on;"},             {"-r=", true, "r=on;"},
        {"-r-", true, "r=off;"},             {"-r:-", true, "r=off;"},
        {"-r+x", true, "r=on;"},             {"-R-", true, "r=off;"},
        {"-rx", false, "r;"},                {"-reload", false, "r;"},
        {"-?", true, "?=on;"},               {"/?", true, "?=on;"},
        {"-?-", true, "?=off;"},             {"-x", false, ""},
        {"-", false, ""},                    {"/", false, ""},
        {"john", false, ""},                 {"", false, ""},
    };
    for (const Case& c : cases) {
        CConsoleCmdLine set;
        const CArgv argv{c.token};
        const bool accepted = ParseTokens(set, argv);
        EXPECT_EQ(accepted, c.accepted) << "token \"" << c.token << "\"";
        EXPECT_EQ(DescribeGiven(set, accepted), c.given) << "token \"" << c.token << "\"";
        EXPECT_STREQ(set.GetErrorText(), c.accepted ? "" : (std::string("Invalid argument: ") + c.token + "\n\n").c_str())
            << "token \"" << c.token << "\"";
    }
}

TEST(ConsoleCmdLine, RepeatedArgumentFailsAtTheRepeatAndEarlierTokensStaySet)
{
    CConsoleCmdLine set;
    const CArgv argv{"-u=a", "-p=x", "-u=b", "-d=never"};
    EXPECT_FALSE(ParseTokens(set, argv));
    EXPECT_STREQ(set.m_userName.GetValue(), "a");
    EXPECT_STREQ(set.m_password.GetValue(), "x");
    EXPECT_FALSE(set.m_domain.IsGiven()) << "tokens after the failing one are not looked at";
    EXPECT_STREQ(set.GetErrorText(), "Invalid argument: -u=b\n\n");
}

TEST(ConsoleCmdLine, TokensTheirCountAndTheDefaults)
{
    CConsoleCmdLine unparsed;
    EXPECT_EQ(unparsed.GetTokenCount(), 0u);
    EXPECT_EQ(unparsed.GetToken(0), nullptr) << "no vector before Parse";

    CConsoleCmdLine none;
    const CArgv programOnly{};
    EXPECT_TRUE(ParseTokens(none, programOnly));
    EXPECT_EQ(none.GetTokenCount(), 0u);
    EXPECT_STREQ(none.GetToken(0), "prog");
    EXPECT_EQ(none.GetToken(1), nullptr);
    EXPECT_STREQ(none.m_userName.GetValue(), "") << "default user name";
    EXPECT_STREQ(none.m_password.GetValue(), "") << "default password";
    EXPECT_STREQ(none.m_domain.GetValue(), "") << "default domain";
    EXPECT_TRUE(none.m_reload.GetValue()) << "reload is on unless switched off";
    EXPECT_FALSE(none.m_help.GetValue()) << "help is off unless asked for";

    CConsoleCmdLine two;
    const CArgv argv{"-u=a", "-d"};
    EXPECT_TRUE(ParseTokens(two, argv));
    EXPECT_EQ(two.GetTokenCount(), 2u);
    EXPECT_STREQ(two.GetToken(0), "prog");
    EXPECT_STREQ(two.GetToken(2), "-d");
    EXPECT_EQ(two.GetToken(3), nullptr);
    EXPECT_EQ(two.GetToken(UINT32_MAX), nullptr);

    CConsoleCmdLine empty;
    const char* const noProgramName[] = {nullptr};
    EXPECT_TRUE(empty.Parse(0, noProgramName)) << "argc 0 means no tokens, not four billion";
    EXPECT_EQ(empty.GetTokenCount(), 0u);
}

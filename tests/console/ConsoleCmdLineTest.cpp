// The console program's real argument set: its registration as the usage text and the defaults
// show it, and what it makes of each form of token.
#include "Argv.h"
#include "ConsoleCmdLine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the set holds after one token: which argument took it and its value.
struct TokenCase
{
    const char* token;
    bool accepted;
    const char* given;  // "u", "d", "r", "?" or nullptr
    const char* value;  // string value, or "on"/"off" for toggles
};

// Which arguments took a token, and their values ("on"/"off" for toggles).
std::string DescribeGiven(const CConsoleCmdLine& set)
{
    std::string given;
    if (set.m_userName.IsGiven()) given += std::string("u=") + set.m_userName.GetValue() + ";";
    if (set.m_password.IsGiven()) given += std::string("p=") + set.m_password.GetValue() + ";";
    if (set.m_domain.IsGiven()) given += std::string("d=") + set.m_domain.GetValue() + ";";
    if (set.m_reload.IsGiven()) given += std::string("r=") + (set.m_reload.GetValue() ? "on" : "off") + ";";
    if (set.m_help.IsGiven()) given += std::string("?=") + (set.m_help.GetValue() ? "on" : "off") + ";";
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

TEST(ConsoleCmdLine, DefaultsWithoutTokens)
{
    CConsoleCmdLine set;
    EXPECT_TRUE(ParseTokens(set, CArgv{}));
    EXPECT_STREQ(set.m_userName.GetValue(), "") << "user name";
    EXPECT_STREQ(set.m_password.GetValue(), "") << "password";
    EXPECT_STREQ(set.m_domain.GetValue(), "") << "domain";
    EXPECT_TRUE(set.m_reload.GetValue()) << "reload is on unless switched off";
    EXPECT_FALSE(set.m_help.GetValue()) << "help is off unless asked for";
    EXPECT_EQ(DescribeGiven(set), "") << "nothing given";
}

TEST(ConsoleCmdLine, TokenForms)
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
        CConsoleCmdLine set;
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

TEST(ConsoleCmdLine, TokensAndTheirCount)
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

// The dialog program's real argument set: its registration as the usage text shows it, and what it
// takes from the start-up command and what it refuses.
#include "Argv.h"
#include "DialogCmdLine.h"

#include <gtest/gtest.h>

// Order, names, the empty descriptions and the reload toggle's choices, byte for byte.
TEST(DialogCmdLine, UsageShowsTheRegistration)
{
    CDialogCmdLine set;
    EXPECT_STREQ(set.GetUsage(true),
                 "[-u=<string>] [-p=<string>] [-d=<string>] [-r{+|-}] \n"
                 "\n"
                 "-u  \n"
                 "-p  \n"
                 "-d  \n"
                 "-r  \n");
}

TEST(DialogCmdLine, TakesTheStartupCommandsArgumentsAndNothingElse)
{
    struct Case
    {
        const char* label;
        CArgv argv;
        bool parsed;
        const char* userName;
        const char* password;
        const char* domain;
        bool reloadGiven;
        bool reload;
    };
    const Case cases[] = {
        {"nothing given: the defaults", CArgv{}, true, "", "", "", false, true},
        {"as the start-up command has them", CArgv{"-u=admin", "-p=pw", "-dOFFICE"}, true, "admin", "pw",
         "OFFICE", false, true},
        {"domain starting with =", CArgv{"-d==corp"}, true, "", "", "=corp", false, true},
        {"reload off", CArgv{"-r-"}, true, "", "", "", true, false},
        {"help is no argument here", CArgv{"-?"}, false, "", "", "", false, true},
        {"bare word", CArgv{"alice"}, false, "", "", "", false, true},
    };
    for (const Case& c : cases) {
        CDialogCmdLine set;
        EXPECT_EQ(ParseTokens(set, c.argv), c.parsed) << c.label;
        EXPECT_STREQ(set.m_userName.GetValue(), c.userName) << c.label;
        EXPECT_STREQ(set.m_password.GetValue(), c.password) << c.label;
        EXPECT_STREQ(set.m_domain.GetValue(), c.domain) << c.label;
        EXPECT_EQ(set.m_reload.IsGiven(), c.reloadGiven) << c.label;
        EXPECT_EQ(set.m_reload.GetValue(), c.reload) << c.label;
    }
}

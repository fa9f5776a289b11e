// The dialog program's real argument set: its registration as the usage text shows it, and what it
// takes from the start-up command and what it refuses.
#include "Argv.h"
#include "DialogCmdLine.h"

#include <gtest/gtest.h>

#include <string>

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
    struct Case { const char* label; CArgv argv; bool parsed; const char* values; };
    const Case cases[] = {
        {"nothing given: the defaults", CArgv{}, true, "u= p= d= r=on"},
        {"the start-up command's form", CArgv{"-u=admin", "-p=pw", "-dOFFICE"}, true,
         "u=admin p=pw d=OFFICE r=on"},
        {"reload switched off", CArgv{"-r-"}, true, "u= p= d= r=off, given"},
        {"help is no argument here", CArgv{"-?"}, false, "u= p= d= r=on"},
    };
    for (const Case& c : cases) {
        CDialogCmdLine set;
        EXPECT_EQ(ParseTokens(set, c.argv), c.parsed) << c.label;
        const std::string values = std::string("u=") + set.m_userName.GetValue() +
                                   " p=" + set.m_password.GetValue() + " d=" + set.m_domain.GetValue() +
                                   " r=" + (set.m_reload.GetValue() ? "on" : "off") +
                                   (set.m_reload.IsGiven() ? ", given" : "");
        EXPECT_EQ(values, c.values) << c.label;
    }
}

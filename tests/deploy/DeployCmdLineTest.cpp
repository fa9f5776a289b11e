// The deployment program's argument set: off, or the usage, and nothing else.
#include "Argv.h"
#include "DeployCmdLine.h"

#include <gtest/gtest.h>

TEST(DeployCmdLine, TakesOffOrTheUsageAndRefusesEverythingElse)
{
    struct Case { const char* label; CArgv argv; bool parsed; bool off; bool help; };
    const Case cases[] = {
        {"nothing: set from the file", CArgv{}, true, false, false},
        {"off", CArgv{"off"}, true, true, false},
        {"OFF, as cmd users type it", CArgv{"OFF"}, true, true, false},
        {"the usage", CArgv{"-?"}, true, false, true},
        {"another word", CArgv{"on"}, false, false, false},
        {"off twice", CArgv{"off", "off"}, false, true, false},
        {"an option it does not have", CArgv{"-u=kiosk"}, false, false, false},
        {"off as an option", CArgv{"-off"}, false, false, false},
    };
    for (const Case& c : cases) {
        CDeployCmdLine set;
        EXPECT_EQ(ParseTokens(set, c.argv), c.parsed) << c.label;
        EXPECT_EQ(set.m_off.IsGiven(), c.off) << c.label;
        EXPECT_EQ(set.m_help.GetValue(), c.help) << c.label;
    }
}

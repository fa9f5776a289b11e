#include "CmdLineArg.h"

#include <gtest/gtest.h>

TEST(CmdLineArgString, ValueIsTheDefaultUntilGivenThenTheGivenTextEvenWhenEmpty)
{
    CCmdLineArgString arg("m", "mode", "fallback", 0);
    EXPECT_FALSE(arg.IsGiven());
    EXPECT_STREQ(arg.GetValue(), "fallback");
    EXPECT_TRUE(arg.SetValue(""));
    EXPECT_TRUE(arg.IsGiven());
    EXPECT_STREQ(arg.GetValue(), "") << "given with an empty value is not the default";
    EXPECT_TRUE(arg.TakesValue());
    EXPECT_STREQ(arg.GetValuePlaceholder(), "<string>");
}

TEST(CmdLineArgString, ConstructorTakesNullTextsAsEmpty)
{
    CCmdLineArgString arg(nullptr, nullptr, nullptr, 0);
    EXPECT_STREQ(arg.GetName(), "");
    EXPECT_STREQ(arg.GetDescription(), "");
    EXPECT_STREQ(arg.GetValue(), "");
}

TEST(CmdLineArgString, AllowedValuesRestrictAndAreListedAsChoices)
{
    CCmdLineArgString arg("m", "mode", "", 0);
    EXPECT_STREQ(arg.GetValueChoices(), "");
    EXPECT_TRUE(arg.IsValidValue("anything")) << "no allowed values: any value";
    arg.AddAllowedValue("fast");
    arg.AddAllowedValue("Safe");
    EXPECT_STREQ(arg.GetValueChoices(), "{fast|Safe}");
    EXPECT_STREQ(arg.GetValueChoices(), "{fast|Safe}") << "asked twice, not accumulated";

    struct Case { const char* text; bool valid; };
    const Case cases[] = {{"fast", true}, {"FAST", true}, {"safe", true}, {"fas", false}, {"fastx", false}, {"", false}};
    for (const Case& c : cases)
        EXPECT_EQ(arg.IsValidValue(c.text), c.valid) << "IsValidValue(\"" << c.text << "\")";
}

TEST(CmdLineArgToggle, ValuesAndState)
{
    struct Case { const char* text; bool accepted; bool state; bool valid; };
    const Case cases[] = {
        {"", true, true, true},   {"+", true, true, true},   {"-", true, false, true},
        {"+x", true, true, false}, {"-x", true, false, false}, {"x", false, true, false},
    };
    for (const Case& c : cases) {
        CCmdLineArgToggle toggle("r", "reload", true, true, 0);
        EXPECT_EQ(toggle.IsValidValue(c.text), c.valid) << "IsValidValue(\"" << c.text << "\")";
        EXPECT_EQ(toggle.SetValue(c.text), c.accepted) << "SetValue(\"" << c.text << "\")";
        EXPECT_TRUE(toggle.IsGiven()) << "SetValue(\"" << c.text << "\") marks the toggle given even when it fails";
        if (c.accepted) {
            EXPECT_EQ(toggle.GetValue(), c.state) << "state after SetValue(\"" << c.text << "\")";
        }
    }
}

TEST(CmdLineArgToggle, DefaultStateAndChoices)
{
    CCmdLineArgToggle on("r", "", true, true, 0);
    CCmdLineArgToggle off("?", "", false, false, 0);
    EXPECT_TRUE(on.GetValue());
    EXPECT_FALSE(off.GetValue());
    EXPECT_STREQ(on.GetValueChoices(), "{+|-}");
    EXPECT_STREQ(off.GetValueChoices(), "");
    EXPECT_STREQ(on.GetValuePlaceholder(), "");
    EXPECT_FALSE(on.TakesValue());
}

TEST(CmdLineArg, Flags)
{
    CCmdLineArgString plain("a", "", "", 0);
    CCmdLineArgString required("b", "", "", CCmdLineArg::flagRequired);
    CCmdLineArgString positional("c", "", "", CCmdLineArg::flagPositional | CCmdLineArg::flagRequired);
    EXPECT_TRUE(plain.IsNamed());
    EXPECT_FALSE(plain.IsRequired());
    EXPECT_TRUE(required.IsRequired());
    EXPECT_TRUE(required.IsNamed());
    EXPECT_TRUE(positional.IsPositional());
    EXPECT_FALSE(positional.IsNamed());
    EXPECT_TRUE(positional.IsRequired());
}

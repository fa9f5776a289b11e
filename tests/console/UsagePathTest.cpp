#include "ConsoleFixture.h"

#include <optional>
#include <vector>

namespace {

class UsagePathTest : public CConsoleFixture
{
};

TEST_F(UsagePathTest, PrintsErrorAndUsageAndLeavesTheRegistryAlone)
{
    struct Case
    {
        const char* arguments;
        const char* error; // "" when the run was asked for the usage
        unsigned long exitCode;
    };
    const Case cases[] = {
        {"", "", 0},
        {"-?", "", 0},
        {"/?", "", 0},
        {"-?+", "", 0},
        {"-u=alice -p=secret -?", "", 0},
        {"-x", "Invalid argument: -x", 2},
        {"-u=alice -u=bob", "Invalid argument: -u=bob", 2},
        {"john", "Invalid argument: john", 2},
        {"-u=alice john", "Invalid argument: john", 2},
        {"-rx", "Invalid argument: -rx", 2},
        {"-reload", "Invalid argument: -reload", 2},
        {"-", "Invalid argument: -", 2},
        {"\"\"", "Invalid argument: ", 2},
        {"\"-u=a b\" -q", "Invalid argument: -q", 2},
        {"-u=Ωmega 山田", "Invalid argument: 山田", 2},
        {"-u=A\xED\xA0\x80" "B", "Invalid argument: -u=A\xEF\xBF\xBD" "B (not valid Unicode: half of a surrogate pair)", 2},
    };
    ASSERT_TRUE(WriteText(winlogonKeyPath, "DefaultUserName", "before", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(runOnceKeyPath, "Tollvey", "before", KEY_WOW64_64KEY));
    const auto before = ReadAllValues({winlogonKeyPath, runOnceKeyPath});
    ASSERT_TRUE(before) << "the registry as it was";
    for (const Case& c : cases) {
        const CProcessResult run = Run(c.arguments);
        ASSERT_TRUE(run.started) << c.arguments;
        const std::string error = c.error[0] != '\0' ? std::string(c.error) + "\r\n\r\n" : "";
        EXPECT_EQ(run.output, banner + error + "\r\n" + usage) << "arguments: " << c.arguments;
        EXPECT_EQ(run.errors, "") << "arguments: " << c.arguments;
        EXPECT_EQ(run.exitCode, c.exitCode) << "arguments: " << c.arguments;
        EXPECT_TRUE(ReadAllValues({winlogonKeyPath, runOnceKeyPath}) == before) << "arguments: " << c.arguments;
    }
}

} // namespace

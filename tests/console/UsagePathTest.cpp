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
        {"", "", exitDone},
        {"-?", "", exitDone},
        {"/?", "", exitDone},
        {"-?+", "", exitDone},
        {"-u=alice -p=secret -?", "", exitDone},
        {"-x", "Invalid argument: -x", exitRejected},
        {"-u=alice -u=bob", "Invalid argument: -u=bob", exitRejected},
        {"john", "Invalid argument: john", exitRejected},
        {"-u=alice john", "Invalid argument: john", exitRejected},
        {"-rx", "Invalid argument: -rx", exitRejected},
        {"-reload", "Invalid argument: -reload", exitRejected},
        {"-", "Invalid argument: -", exitRejected},
        {"\"\"", "Invalid argument: ", exitRejected},
        {"\"-u=a b\" -q", "Invalid argument: -q", exitRejected},
        {"-u=Ωmega 山田", "Invalid argument: 山田", exitRejected},
        {"-u=A\xED\xA0\x80" "B", "Invalid argument: -u=A\xEF\xBF\xBD" "B (not valid Unicode: half of a surrogate pair)", exitRejected},
    };
    ASSERT_TRUE(WriteText(winlogonPath, "DefaultUserName", "before", KEY_WOW64_64KEY));
    ASSERT_TRUE(WriteText(runOncePath, "Tollvey", "before", KEY_WOW64_64KEY));
    const auto before = ReadAllValues({winlogonPath, runOncePath});
    ASSERT_TRUE(before) << "the registry as it was";
    for (const Case& c : cases) {
        const CProcessResult run = Run(c.arguments);
        ASSERT_TRUE(run.started) << c.arguments;
        const std::string error = c.error[0] != '\0' ? std::string(c.error) + "\r\n\r\n" : "";
        EXPECT_EQ(run.output, banner + error + "\r\n" + usage) << "arguments: " << c.arguments;
        EXPECT_EQ(run.errors, "") << "arguments: " << c.arguments;
        EXPECT_EQ(run.exitCode, c.exitCode) << "arguments: " << c.arguments;
        EXPECT_TRUE(ReadAllValues({winlogonPath, runOncePath}) == before) << "arguments: " << c.arguments;
    }
}

} // namespace

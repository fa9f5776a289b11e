#include "SystemStatus.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Windows' words for a status go inside a line: without the full stop and line end that close its
// message, then the number, so that a reader can look it up.
TEST(SystemStatus, TextIsWindowsOwnWordsThenTheNumber)
{
    struct Case
    {
        unsigned long code;
        const char* text; // Wine's words, which differ from Windows' here and there
    };
    const Case cases[] = {
        {ERROR_ACCESS_DENIED, "before: Access denied (error 5)"},
        {ERROR_KEY_DELETED, "before: Key deleted (error 1018)"},
        {0xDEADBEEF, "before: (error 3735928559)"},
    };
    for (const Case& c : cases) {
        CHeapString text("before: ");
        CSystemStatus(c.code).AppendText(text);
        EXPECT_STREQ(text.GetText(), c.text) << c.code;
    }
    EXPECT_TRUE(CSystemStatus(ERROR_SUCCESS));
    EXPECT_FALSE(CSystemStatus(ERROR_ACCESS_DENIED));
}

} // namespace

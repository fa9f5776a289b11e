#include "HeapString.h"
#include "OutOfMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Runs the statement in a death-test child whose standard output goes to a file, and returns what
// the child wrote there once it has ended with status 1.
template <typename Statement>
std::string StdoutOfStop(const char* name, Statement statement)
{
    const std::string path = ::testing::TempDir() + "oom-" + name + ".txt";
    std::remove(path.c_str());
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) == nullptr)
                std::_Exit(3);
            statement();
        },
        ::testing::ExitedWithCode(1), "")
        << name;
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The C runtime writes "\n" as "\r\n" on Windows.
#ifdef _WIN32
const char* const kStopText = "out of memory\r\n\r\n";
#else
const char* const kStopText = "out of memory\n\n";
#endif

} // namespace

TEST(OutOfMemoryDeathTest, FailedAllocationsStopWithTheTextAndStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(StdoutOfStop("reserve", [] { CHeapString().Reserve(SIZE_MAX / 2); }), kStopText);
    EXPECT_EQ(StdoutOfStop("reserve-wrap", [] { CHeapString().Reserve(SIZE_MAX); }), kStopText);
    EXPECT_EQ(StdoutOfStop("allocate", [] { (void)AllocateOrStop(SIZE_MAX / 4, 2); }), kStopText);
    EXPECT_EQ(StdoutOfStop("size-overflow", [] { (void)AllocateOrStop(SIZE_MAX / 2, 4); }), kStopText);
    EXPECT_EQ(StdoutOfStop("container", [] {
                  std::vector<CHeapString, CStopAllocator<CHeapString>> strings;
                  strings.reserve(strings.max_size());
              }),
              kStopText);
}

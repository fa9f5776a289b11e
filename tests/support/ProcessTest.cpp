// RunProcess ends within its deadline, whatever the program or what it started does.
#include "Process.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>
#include <windows.h>

#include <string>

namespace {

// Started with TOLLVEY_HOLD_MS set, this program only waits that long and ends, standing in for a
// program that hangs and for a process that keeps the pipes it inherited open.
const bool holding = [] {
    char ms[16];
    const DWORD length = GetEnvironmentVariableA("TOLLVEY_HOLD_MS", ms, sizeof ms);
    if (length > 0 && length < sizeof ms) {
        Sleep(static_cast<DWORD>(std::stoul(ms)));
        ExitProcess(0);
    }
    return false;
}();

std::string ThisProgram()
{
    wchar_t path[MAX_PATH];
    return "\"" + Utf8(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH))) + "\"";
}

// EXPECT_NONFATAL_FAILURE's statement may name no local variable.
CProcessResult held;

TEST(RunProcess, EndsAProgramStillRunningAtTheDeadlineAndFailsTheCaseNamingIt)
{
    static const std::string command = ThisProgram();
    SetEnvironmentVariableA("TOLLVEY_HOLD_MS", "10000");
    const DWORD start = GetTickCount();
    EXPECT_NONFATAL_FAILURE(held = RunProcess(command, 1000), "did not end within 1 s");
    SetEnvironmentVariableA("TOLLVEY_HOLD_MS", nullptr);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_FALSE(held.ended);
    EXPECT_EQ(held.exitCode, static_cast<unsigned long>(WAIT_TIMEOUT));
}

TEST(RunProcess, EndsWithTheProgramWhileAProcessItStartedHoldsItsPipes)
{
    SetEnvironmentVariableA("TOLLVEY_HOLD_MS", "2000");
    const DWORD start = GetTickCount();
    const CProcessResult run = RunProcess("cmd.exe /c start /b \"\" " + ThisProgram() + " & echo started");
    SetEnvironmentVariableA("TOLLVEY_HOLD_MS", nullptr);
    EXPECT_LT(GetTickCount() - start, 1500u) << "waited for the process that holds the pipes";
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.output, "started\r\n");
}

} // namespace

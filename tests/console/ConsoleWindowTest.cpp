// On a Windows console the echo goes out in UTF-16, which the console shows whatever its own output
// code page; the transcripts of the other tests cover the bytes that go to a pipe.
#include "ConsoleFixture.h"

#include <string>

namespace {

// A console of the test's own, shared with the programs it starts, as a command prompt shares
// its window. The test's standard handles stay on the pipes the test runner reads.
class CConsoleWindow
{
public:
    CConsoleWindow()
        : m_output(GetStdHandle(STD_OUTPUT_HANDLE)), m_error(GetStdHandle(STD_ERROR_HANDLE))
    {
        FreeConsole();
        m_allocated = AllocConsole() != FALSE;
    }
    ~CConsoleWindow()
    {
        FreeConsole();
        SetStdHandle(STD_OUTPUT_HANDLE, m_output);
        SetStdHandle(STD_ERROR_HANDLE, m_error);
    }

    bool IsAllocated() const { return m_allocated; }

    // Runs the command line with the console as its standard output; false if it did not end.
    bool Run(std::wstring commandLine) const
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        const bool ended = WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return ended;
    }

    // What the console shows, row by row, each row cut after its last non-blank character.
    std::string Screen() const
    {
        const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        CONSOLE_SCREEN_BUFFER_INFO info;
        std::string shown;
        if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &info))
            return shown;
        for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
            std::wstring cells(static_cast<size_t>(info.dwSize.X), L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(screen, &cells[0], info.dwSize.X, {0, row}, &read);
            cells.erase(cells.find_last_not_of(L' ') + 1);
            shown += Utf8(cells) + "\n";
        }
        CloseHandle(screen);
        return shown;
    }

private:
    HANDLE m_output;
    HANDLE m_error;
    bool m_allocated = false;
};

class ConsoleWindowTest : public CConsoleFixture
{
};

TEST_F(ConsoleWindowTest, EchoShowsEveryCharacterAsTyped)
{
    CConsoleWindow console;
    ASSERT_TRUE(console.IsAllocated()) << "the test has a console of its own";
    const std::string value = "José Ωmega Дмитрий";
    ASSERT_TRUE(console.Run(Utf16("\"" + m_directory + "TollveyCmd.exe\" \"-u=" + value + "\" -r-")))
        << "TollveyCmd.exe runs on the console";
    const std::string screen = console.Screen();
    EXPECT_NE(screen.find("\nUsername:    " + value + "\n"), std::string::npos) << screen;
    EXPECT_EQ(screen.rfind("Tollvey - April 2002\n", 0), 0u) << "the banner comes first:\n" << screen;
}

} // namespace

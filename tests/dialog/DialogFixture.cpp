#include "DialogFixture.h"

#include "Process.h"
#include "Resource.h"

std::string CDialogFixture::s_directory;

void CDialogFixture::SetUpTestSuite()
{
    s_directory = MakeScratchDirectory("tollvey-dialog-tests");
    ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_EXE_UNIX_PATH), DialogExe())) << "copy Tollvey.exe";
    ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEYCMD_EXE_UNIX_PATH), ConsoleExe())) << "copy TollveyCmd.exe";
}

void CDialogFixture::Store(const std::string& userName, const std::string& password,
                           const std::string& domain, const char* entry)
{
    WriteText(winlogonPath, autoAdminLogonValue, "1", KEY_WOW64_64KEY);
    WriteText(winlogonPath, userNameValue, userName, KEY_WOW64_64KEY);
    WriteText(winlogonPath, passwordValue, password, KEY_WOW64_64KEY);
    WriteText(winlogonPath, domainValue, domain, KEY_WOW64_64KEY);
    if (entry != nullptr)
        WriteText(runOncePath, reloadValueName, entry, KEY_WOW64_64KEY);
    else
        RemoveValue(runOncePath, reloadValueName, KEY_WOW64_64KEY);
}

void CDialogFixture::ExpectDialogThenClose(CDialogProcess& run, const std::string& userName,
                                           const std::string& password, const std::string& domain)
{
    ASSERT_TRUE(run.IsStarted()) << "Tollvey.exe starts";
    HWND window = run.WaitForWindow(exitTimeoutMs);
    ASSERT_NE(window, nullptr) << "a window captioned Tollvey opens";
    EXPECT_EQ(ControlText(window, IDC_USERNAME), userName) << "user name box";
    EXPECT_EQ(ControlText(window, IDC_PASSWORD), password) << "password box";
    EXPECT_EQ(ControlText(window, IDC_DOMAIN), domain) << "domain box";
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(run.WaitForExit(exitTimeoutMs, exitCode)) << "the program ends once the dialog is closed";
    EXPECT_EQ(exitCode, exitDone) << "exit status after closing the dialog";
}

std::string QuotedArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string CaseName(const char* description)
{
    std::string name = description;
    for (char& c : name)
        c = IsCharAlphaNumericA(c) ? c : '_';
    return name;
}

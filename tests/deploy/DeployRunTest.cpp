// Runs of TollveyDeploy under Wine, in this process, with the registry and the files real: what Wine
// cannot answer as Windows would (the security it keeps of no file, the events it keeps none of, a
// lock another run holds) the run's table of calls answers here. And the program itself, once.
#include "DeployRun.h"
#include "ExitStatus.h"
#include "Process.h"
#include "WinlogonFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

const char* const eventSourcePath = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tollvey";
const char* const madeSecurity = "O:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

struct CEvent
{
    WORD type = 0;
    DWORD id = 99;
    std::string text;
} s_event;
DWORD s_wait = WAIT_OBJECT_0;
// Who owns the log's folder, and the lock another made first.
std::string s_folderSecurity, s_lockSecurity;
// What LogonUserW answers, as Windows would: Wine's takes any password.
unsigned long s_logon = 0;
int s_logons = 0;

CLogonCalls LogonCalls()
{
    CLogonCalls calls = windowsLogonCalls;
    calls.logOn = [](const char*, const char*, const char*) {
        ++s_logons;
        return s_logon;
    };
    return calls;
}
const CLogonCalls s_logonCalls = LogonCalls();

// The lock, the security Windows keeps of the folder the program made (and gives the log in it), and
// the event log, as Windows would answer.
DWORD WINAPI WaitForLock(HANDLE, DWORD) { return s_wait; }
bool ReadSecurity(HANDLE, SE_OBJECT_TYPE type, CHeapString& sddl)
{
    sddl.Assign((type == SE_KERNEL_OBJECT ? s_lockSecurity : s_folderSecurity).c_str());
    return true;
}
HANDLE WINAPI RegisterSource(LPCWSTR, LPCWSTR source) { return std::wstring(source) == L"Tollvey" ? &s_event : nullptr; }
BOOL WINAPI DeregisterSource(HANDLE) { return TRUE; }
BOOL WINAPI ReportTestEvent(HANDLE, WORD type, WORD, DWORD id, PSID, WORD count, DWORD, LPCWSTR* texts, LPVOID)
{
    s_event = {type, id, count == 1 ? Utf8(texts[0]) : "<not one text>"};
    return TRUE;
}

const CDeployCalls testCalls = {WaitForLock, ReadSecurity, RegisterSource, ReportTestEvent, DeregisterSource, &s_logonCalls};

std::string ProgramData()
{
    wchar_t path[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"ProgramData", path, MAX_PATH);
    return Utf8(path) + "\\Tollvey\\";
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return in ? text.str() : "<missing>";
}

class DeployRunTest : public CWinlogonFixture
{
protected:
    DeployRunTest() : m_ours({tollveyPath, eventSourcePath}) {}

    void SetUp() override
    {
        CWinlogonFixture::SetUp();
        m_folder = MakeScratchDirectory("tollvey-deploy");
        for (const char* name : {configurationVersionValue, refusedVersionValue, refusedBecauseValue})
            RemoveValue(tollveyPath, name, KEY_WOW64_64KEY);
        RemoveTree(ProgramData());
        RemoveKey(eventSourcePath, KEY_WOW64_64KEY);
        s_event = {};
        s_wait = WAIT_OBJECT_0;
        s_folderSecurity = madeSecurity;
        s_lockSecurity = "O:SYD:P(A;;GA;;;SY)(A;;GA;;;BA)";
        s_logon = 0;
        s_logons = 0;
    }

    // The file, in bytes as given; then a run as the system account would make it.
    unsigned Run(const std::string& file, bool off = false)
    {
        if (!file.empty())
            std::ofstream(m_folder + "TollveyDeploy.ini", std::ios::binary) << file;
        return RunDeploy(off, m_folder.c_str(), testCalls);
    }

    std::string m_folder;

private:
    CRegistrySnapshot m_ours;
};

std::string Account()
{
    return "user=" + ThisUser() + "\n";
}

TEST_F(DeployRunTest, StoresEachValueAsWritten)
{
    // The file's password line, and the password stored.
    const std::pair<const char*, const char*> cases[] = {
        {"password=50%off", "50%off"},          {"password=a\"b", "a\"b"},
        {"password=\"  lead and trail  \"", "  lead and trail  "},
        {"password=!x!", "!x!"},                {"password=^&|<>", "^&|<>"},
        {"password=%PATH%", "%PATH%"},          {"password=Ωmega", "Ωmega"},
        {"password=ends in \\", "ends in \\"}, {"password=", ""},
    };
    for (const auto& [line, stored] : cases) {
        RemoveValue(tollveyPath, configurationVersionValue, KEY_WOW64_64KEY);
        EXPECT_EQ(Run(Account() + line + "\r\nversion=1\r\n"), exitRestartApplies) << line;
        EXPECT_EQ(Winlogon(passwordValue), stored) << line;
        EXPECT_EQ(Winlogon(userNameValue), ThisUser()) << line;
        EXPECT_EQ(Winlogon(autoAdminLogonValue), "1") << line;
    }
}

TEST_F(DeployRunTest, EndsWithWhatBecameOfTheRun)
{
    const std::string file = Account() + "password=pw\nversion=7\n";
    struct Case
    {
        const char* label;
        std::string file; // "" for none
        bool off;
        unsigned status;
        const char* version; // afterwards
        const char* autoAdminLogon;
        WORD eventType;
    };
    const Case cases[] = {
        {"a version new here", file, false, exitRestartApplies, "7", "1", EVENTLOG_INFORMATION_TYPE},
        {"the same version again", file, false, exitRecordedBefore, "7", "1", EVENTLOG_INFORMATION_TYPE},
        {"a stop: no such account", "user=nobody-here\npassword=pw\nversion=8\n", false, exitCheckStopped,
         "<missing>", "1", EVENTLOG_ERROR_TYPE},
        {"a file refused writes nothing", "user=kiosk\nversion=9\n", false, exitFileRefused, "<missing>", "1",
         EVENTLOG_ERROR_TYPE},
        {"off, with no file", "", true, exitRecordedBefore, "<missing>", "0", EVENTLOG_INFORMATION_TYPE},
    };
    for (const Case& c : cases) {
        DeleteFileW(Utf16(m_folder + "TollveyDeploy.ini").c_str());
        const auto before = ReadAllValues({winlogonPath, tollveyPath});
        EXPECT_EQ(Run(c.file, c.off), c.status) << c.label;
        if (c.status == exitFileRefused) {
            EXPECT_EQ(ReadAllValues({winlogonPath, tollveyPath}), before) << c.label;
        }
        EXPECT_EQ(ReadText(tollveyPath, configurationVersionValue, KEY_WOW64_64KEY), c.version) << c.label;
        EXPECT_EQ(Winlogon(autoAdminLogonValue), c.autoAdminLogon) << c.label;
        EXPECT_EQ(s_event.id, c.status) << c.label << ": the event's ID";
        EXPECT_EQ(s_event.type, c.eventType) << c.label;
        EXPECT_NE(s_event.text.find("exit status " + std::to_string(c.status) + ": "), std::string::npos)
            << c.label << ": " << s_event.text;
    }
    EXPECT_EQ(Winlogon(userNameValue), "") << "off empties the user name";
    EXPECT_EQ(Winlogon(passwordValue), "") << "and the password";
}

// A wrong password is refused before anything is written, and that version is not tried again: on a
// fleet sharing one account, retries would lock it out.
TEST_F(DeployRunTest, TriesTheCredentialsFirstAndARefusedVersionNotAgain)
{
    struct Case
    {
        const char* label;
        unsigned long answer;
        const char* more; // lines of the file
        unsigned status;
        int logons; // LogonUserW calls so far
        const char* said = "";
    };
    const Case cases[] = {
        {"a wrong password", 1326, "", exitCredentialsRefused, 1},
        {"the same version again", 0, "", exitCredentialsRefused, 1},
        {"no answer decides nothing", 1311, "version=8\n", exitRestartApplies, 2},
        {"a version recorded is not tried", 1326, "version=8\n", exitRecordedBefore, 2},
        {"verify=no", 1326, "version=9\nverify=no\n", exitRestartApplies, 2, "not tried: the file says verify=no"},
        // Mended in the directory, with no new file.
        {"a locked-out account", 1909, "version=10\n", exitCredentialsRefused, 3},
        {"is tried again", 0, "version=10\n", exitRestartApplies, 4},
    };
    for (const Case& c : cases) {
        const auto before = ReadAllValues({winlogonPath});
        s_logon = c.answer;
        const std::string version = c.more[0] != '\0' ? "" : "version=7\n";
        EXPECT_EQ(Run(Account() + "password=pw\n" + version + c.more), c.status) << c.label << ": " << s_event.text;
        EXPECT_EQ(s_logons, c.logons) << c.label;
        if (c.status == exitCredentialsRefused) {
            EXPECT_EQ(ReadAllValues({winlogonPath}), before) << c.label << ": nothing written";
        }
        EXPECT_NE(s_event.text.find(c.said), std::string::npos) << c.label << ": " << s_event.text;
    }
}

// What any user may make first, a folder in ProgramData or an object named as the lock, neither
// leads the system account's writes nor stops its runs.
TEST_F(DeployRunTest, GoesOnWithoutWhatAUserCouldHaveMade)
{
    s_folderSecurity = "O:S-1-5-21-1-2-3-1001D:P(A;OICI;FA;;;SY)";
    const HANDLE made = CreateMutexW(nullptr, TRUE, L"Global\\TollveyDeploy");
    s_lockSecurity = "O:S-1-5-21-1-2-3-1001D:(A;;GA;;;WD)";
    s_wait = WAIT_TIMEOUT;
    EXPECT_EQ(Run(Account() + "password=pw\nversion=7\n"), exitRestartApplies);
    CloseHandle(made);
    for (const char* said : {"goes on without its lock: the lock Global\\TollveyDeploy is held by an account",
                             "no log: C:\\ProgramData\\Tollvey: it is owned by S-1-5-21-1-2-3-1001"})
        EXPECT_NE(s_event.text.find(said), std::string::npos) << s_event.text;
    EXPECT_EQ(ReadFile(ProgramData() + "deploy.log"), "<missing>");
    EXPECT_FALSE(ReadValue(eventSourcePath, "EventMessageFile", KEY_WOW64_64KEY)) << "no message file outside the log's folder";
}

TEST_F(DeployRunTest, AnotherRunHoldingTheLockIsWaitedForThenLeftAlone)
{
    s_wait = WAIT_TIMEOUT;
    const auto before = ReadAllValues({winlogonPath, tollveyPath});
    EXPECT_EQ(Run(Account() + "password=pw\nversion=7\n"), exitAnotherRun);
    EXPECT_EQ(ReadAllValues({winlogonPath, tollveyPath}), before) << "nothing written";
    EXPECT_EQ(s_event.id, exitAnotherRun);
    EXPECT_EQ(ReadFile(ProgramData() + "deploy.log"), "<missing>") << "the other run's log is left to it";
}

// The log and the event tell every step and never the password; Event Viewer finds the event's text
// in the message file beside the log.
TEST_F(DeployRunTest, LogsEachStepAndRegistersItsMessageFile)
{
    ASSERT_EQ(Run(Account() + "password=Pa55-in-no-log\nversion=7\n"), exitRestartApplies);
    const std::string log = ReadFile(ProgramData() + "deploy.log");
    EXPECT_TRUE(std::regex_search(log, std::regex("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ TollveyDeploy ")))
        << log;
    EXPECT_NE(log.find("Z configuration version 7 recorded, new here\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Z exit status 3010: "), std::string::npos) << log;
    EXPECT_EQ(log.find("Pa55-in-no-log"), std::string::npos) << log;
    EXPECT_EQ(s_event.text.find("Pa55-in-no-log"), std::string::npos) << s_event.text;

    const std::string messages = ProgramData() + "TollveyEvents.dll";
    EXPECT_EQ(ReadValue(eventSourcePath, "EventMessageFile", KEY_WOW64_64KEY),
              TextValue("EventMessageFile", messages, REG_EXPAND_SZ));
    EXPECT_EQ(ReadValue(eventSourcePath, "TypesSupported", KEY_WOW64_64KEY),
              (CRegistryValue{"TypesSupported", REG_DWORD, std::string("\7\0\0\0", 4)}));
    const HMODULE file = LoadLibraryExW(Utf16(messages).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr) << messages;
    for (unsigned status : {exitRecordedBefore, exitRestartApplies, exitDeployWriteFailed, exitFileRefused,
                            exitArgumentRefused, exitCheckStopped, exitCredentialsRefused, exitAnotherRun}) {
        DWORD_PTR texts[] = {reinterpret_cast<DWORD_PTR>(L"the run's summary")};
        wchar_t shown[64] = L"";
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, file, status, 0, shown, 64,
                       reinterpret_cast<va_list*>(static_cast<void*>(texts)));
        EXPECT_EQ(Utf8(shown), "the run's summary\r\n") << "the message of event " << status;
    }
    FreeLibrary(file);

    // Once it holds 100,000 bytes, the log becomes deploy.old.log.
    std::ofstream(ProgramData() + "deploy.log", std::ios::binary | std::ios::app) << std::string(100000, 'x');
    ASSERT_EQ(Run(Account() + "password=pw\nversion=7\n"), exitRecordedBefore);
    EXPECT_EQ(ReadFile(ProgramData() + "deploy.old.log").size(), log.size() + 100000);
    EXPECT_EQ(ReadFile(ProgramData() + "deploy.log").find("Z TollveyDeploy "), 19u);
}

// The 45 characters of a password that this test never holds whole: each is made where it is
// needed, so that a copy found in memory can only be the run's.
char PasswordAt(size_t i)
{
    const char* const alphabet = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789#%&*+=?@";
    return alphabet[(i * 7919 + 104729) % 61];
}
const size_t passwordLength = 45;

// Where in this process's writable memory the password stands, in UTF-8 or in UTF-16.
std::string FindPassword()
{
    std::string found;
    MEMORY_BASIC_INFORMATION region = {};
    for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) != 0; at += region.RegionSize) {
        const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (region.State != MEM_COMMIT || (region.Protect & writable) == 0 || (region.Protect & PAGE_GUARD) != 0)
            continue;
        const BYTE* bytes = static_cast<const BYTE*>(region.BaseAddress);
        for (size_t width : {1, 2}) {
            for (size_t p = 0; p + passwordLength * width <= region.RegionSize; ++p) {
                size_t i = 0;
                while (i < passwordLength && bytes[p + i * width] == static_cast<BYTE>(PasswordAt(i)) &&
                       (width == 1 || bytes[p + i * width + 1] == 0))
                    ++i;
                if (i == passwordLength)
                    found += (width == 1 ? " UTF-8 at " : " UTF-16 at ") + std::to_string(reinterpret_cast<size_t>(bytes + p));
            }
        }
    }
    return found;
}

TEST_F(DeployRunTest, LeavesNoCopyOfThePasswordInMemory)
{
    char file[128] = "password=";
    const std::string account = Account() + "version=7\n";
    for (size_t i = 0; i < passwordLength; ++i)
        file[9 + i] = PasswordAt(i);
    account.copy(file + 9 + passwordLength + 1, account.size());
    file[9 + passwordLength] = '\n';
    // Written from this buffer alone, which is wiped: a stream's buffer would keep a copy.
    const HANDLE out = CreateFileW(Utf16(m_folder + "TollveyDeploy.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, file, static_cast<DWORD>(9 + passwordLength + 1 + account.size()), &written, nullptr);
    CloseHandle(out);
    SecureZeroMemory(file, sizeof file);
    ASSERT_EQ(RunDeploy(false, m_folder.c_str(), testCalls), exitRestartApplies);
    EXPECT_EQ(FindPassword(), "");
    // The scan does find it where it is: the registry's copy, read back.
    const std::string stored = Winlogon(passwordValue);
    EXPECT_NE(FindPassword(), "") << "the copy just read";
    SecureZeroMemory(const_cast<char*>(stored.data()), stored.size());
}

// The program itself: its run, as the system account would start it, and a refused argument.
TEST_F(DeployRunTest, TheProgramRunsFromItsFolder)
{
    ASSERT_TRUE(CopyInto(WindowsPath(TOLLVEY_DEPLOY_UNIX_PATH), m_folder + "TollveyDeploy.exe"));
    std::ofstream(m_folder + "TollveyDeploy.ini", std::ios::binary) << Account() << "password=pw\nversion=7\n";
    const std::string program = "\"" + m_folder + "TollveyDeploy.exe\"";
    struct Case
    {
        const char* arguments;
        unsigned status;
        const char* line;
    };
    const Case cases[] = {
        {"", exitRestartApplies, "exit status 3010: done"},
        {" on", exitArgumentRefused, "Invalid argument: on"},
        {" -?", exitRecordedBefore, "Usage:"},
    };
    for (const Case& c : cases) {
        const CProcessResult run = RunProcess(program + c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << ": " << run.output;
        EXPECT_NE(run.output.find(c.line), std::string::npos) << c.arguments << ": " << run.output;
    }
    EXPECT_EQ(Winlogon(userNameValue), ThisUser());
}

} // namespace

// The example deployment script, docs\deploy.cmd, run by cmd.exe as an administrator's start-up
// script or device-management deployment would run it: from the unpacked release archive
// (TOLLVEY_UNPACKED, set by archive-test.sh), or copied with both pairs into one folder, beside the
// Windows Installer package of the pair under test (TOLLVEY_PACKAGE) installed by msiexec.
// DeployScriptIn32BitCmdTest needs 32-bit Wine; the others need Wine's 64-bit side alone.
#include "Process.h"
#include "ReadOnlyKey.h"
#include "RegistryState.h"
#include "WinlogonFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Unpacked()
{
    const char* folder = std::getenv("TOLLVEY_UNPACKED");
    return folder ? folder : "";
}

std::string Package()
{
    const char* package = std::getenv("TOLLVEY_PACKAGE");
    return package ? package : "";
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Expanded(const std::string& text)
{
    char buffer[1024];
    const DWORD length = ExpandEnvironmentStringsA(text.c_str(), buffer, sizeof buffer);
    return length > 0 && length <= sizeof buffer ? buffer : text;
}

// The pair the script should take here, as a folder of the archive: x64 on 64-bit Windows.
std::string PairSubfolder()
{
    return Is64BitWindows() ? "x64\\" : "";
}

// The Program Files folder of Windows' own processor, whichever this process's is.
std::string NativeProgramFiles()
{
    char folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("ProgramW6432", folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : Expanded("%ProgramFiles%");
}

// The command processor of Windows' own processor, which runs a computer's start-up scripts.
std::string NativeCmd()
{
    return Expanded(sizeof(void*) == 4 && Is64BitWindows() ? "%windir%\\sysnative\\cmd.exe"
                                                           : "%windir%\\system32\\cmd.exe");
}

// The 32-bit one of 64-bit Windows, as some device-management agents start their commands.
std::string ThirtyTwoBitCmd()
{
    return Expanded("%windir%\\syswow64\\cmd.exe");
}

CProcessResult RunScript(const std::string& path, const std::string& arguments = "",
                         const std::string& cmd = NativeCmd(), const std::string& switches = "")
{
    return RunProcess("\"" + cmd + "\" " + switches + " /c \"\"" + path + "\" " + arguments + "\"");
}

// Whether this cmd, switched to UTF-8 as the script switches it, reads the next lines of a batch
// file as UTF-8: Windows' own does where it has a console; Wine 8's reads them in the OEM code page,
// which is UTF-8 in some locales only.
bool ReadsScriptsAsUtf8AfterChcp()
{
    const std::string probe = MakeScratchDirectory("deploy code page probe") + "probe.cmd";
    WriteBytes(probe, "@chcp 65001 >nul\r\n@set \"P=\xC3\xA4\"\r\n@if \"%P:~1%\"==\"\" exit /b 1\r\n@exit /b 2\r\n");
    return RunScript(probe).exitCode == 1;
}

// A text value of the Winlogon key as Wine's reg.exe, an independent reader, shows it in the 64-bit
// view; "<missing>" when it shows none.
std::string Shown(const char* name)
{
    const std::optional<std::string> data = RegQueryData(winlogonPath, name, "/reg:64");
    const std::string text = "REG_SZ    ";
    if (!data)
        return "<missing>";
    return data->compare(0, text.size(), text) == 0 ? data->substr(text.size()) : *data;
}

const char* const versionKeyPath = "SOFTWARE\\Tollvey";
// The script's status for a run that recorded a configuration version not recorded before it.
const unsigned long newVersion = 3010;

// The configuration version the script recorded, in the 64-bit view, where detection rules look.
std::string RecordedVersion()
{
    return ReadText(versionKeyPath, "ConfigurationVersion", KEY_WOW64_64KEY);
}

std::string LogFolder()
{
    return Expanded("%ProgramData%\\Tollvey");
}

// The script's log, "<missing>" when there is none.
std::string LogText()
{
    const std::string log = LogFolder() + "\\deploy.log";
    return GetFileAttributesW(LongPath(log).c_str()) == INVALID_FILE_ATTRIBUTES ? "<missing>" : ReadBytes(log);
}

// msiexec, silent, as device management runs it: "/i" installs the package under test, "/x"
// removes it.
unsigned long Msiexec(const std::string& action)
{
    return RunProcess("\"" + Expanded("%windir%\\system32\\msiexec.exe") + "\" " + action + " \"" + Package() + "\" /qn")
        .exitCode;
}

// The value the script's line `set "NAME=value"` gives, as written.
std::string ScriptValue(const std::string& script, const std::string& name)
{
    const std::string start = "set \"" + name + "=";
    const size_t at = script.find(start);
    if (at == std::string::npos)
        return "<no set " + name + " line>";
    const size_t from = at + start.size();
    return script.substr(from, script.find("\"\r\n", from) - from);
}

// The script with that line's value replaced.
std::string WithScriptValue(std::string script, const std::string& name, const std::string& value)
{
    const std::string start = "set \"" + name + "=";
    const size_t from = script.find(start) + start.size();
    return script.replace(from, script.find("\"\r\n", from) - from, value);
}

class DeployScriptTest : public CWinlogonFixture
{
protected:
    void SetUp() override
    {
        CWinlogonFixture::SetUp();
        ASSERT_FALSE(Unpacked().empty()) << "TOLLVEY_UNPACKED names the unpacked release";
        m_shipped = ReadBytes(ShippedScript());
        ASSERT_FALSE(m_shipped.empty()) << "the archive holds " << ShippedScript();
        m_script = WithScriptValue(m_shipped, "LOGON_USER", ThisUser());
        RemoveTree(Target());
        RemoveTree(LogFolder());
        RemoveVersion();
    }
    void TearDown() override
    {
        RemoveTree(Target());
        RemoveTree(LogFolder());
        RemoveVersion();
    }

    static void RemoveVersion()
    {
        for (RegistryView view : Views())
            RemoveKey(versionKeyPath, view);
    }

    static std::string ShippedScript() { return Unpacked() + "\\docs\\deploy.cmd"; }
    static std::string Target() { return NativeProgramFiles() + "\\Tollvey"; }

    // A folder with blanks in its path that holds both pairs, as the archive has them, and the
    // script, as a share would.
    static std::string ShareWith(const std::string& script)
    {
        const std::string share = MakeScratchDirectory("deploy share") + "logon scripts\\";
        for (const std::string pair : {"", "x64\\"}) {
            MakeDirectories(share + pair);
            for (const char* program : {"TollveyCmd.exe", "Tollvey.exe", "TollveyCheck.exe"})
                CopyInto(Unpacked() + "\\" + pair + program, share + pair + program);
        }
        WriteBytes(share + "deploy.cmd", script);
        return share + "deploy.cmd";
    }

    // The names of the store's values and of the start-up entry that are there: "" when the script
    // wrote none of them.
    static std::string Written()
    {
        std::string written;
        for (const char* name : storeValueNames) {
            if (Winlogon(name) != "<missing>")
                written += std::string(" ") + name;
        }
        return written + (Entry() != "<missing>" ? " Tollvey" : "");
    }

    // The programs of the pair for this Windows are installed, unchanged.
    void ExpectInstalled() const
    {
        for (const char* program : {"TollveyCmd.exe", "Tollvey.exe", "TollveyCheck.exe"}) {
            EXPECT_EQ(ReadBytes(Target() + "\\" + program), ReadBytes(Unpacked() + "\\" + PairSubfolder() + program))
                << PairSubfolder() << program << " is installed, unchanged, in " << Target();
        }
    }

    std::string m_shipped;
    // The same with an account this computer has, which TollveyCheck.exe finds nothing against.
    std::string m_script;
};

class DeployScriptIn32BitCmdTest : public DeployScriptTest
{
};

} // namespace

TEST_F(DeployScriptTest, AsShippedFromTheArchiveItInstallsThePairForThisWindowsAndSetsItsValuesWithoutAStartupEntry)
{
    const CProcessResult run = RunScript(ShippedScript());
    ASSERT_TRUE(run.started) << "cmd.exe starts";
    // Its account is one this computer does not have, and the check of what it wrote says so.
    EXPECT_EQ(run.exitCode, 8u) << run.output << run.errors;
    EXPECT_NE(run.output.find("this computer has no account " + ScriptValue(m_shipped, "LOGON_USER")),
              std::string::npos)
        << run.output;
    EXPECT_EQ(RecordedVersion(), "<missing>") << "no configuration version for a computer that will not log on";

    EXPECT_EQ(Shown("DefaultUserName"), ScriptValue(m_shipped, "LOGON_USER"));
    EXPECT_EQ(Shown("DefaultPassword"), ScriptValue(m_shipped, "LOGON_PASSWORD"));
    EXPECT_EQ(Shown("DefaultDomainName"), Expanded(ScriptValue(m_shipped, "LOGON_DOMAIN")));
    EXPECT_EQ(Shown("AutoAdminLogon"), "1");
    EXPECT_FALSE(RegQueryData(runOncePath, "Tollvey", "/reg:64"))
        << "a start-up script registers no start-up entry";
    ExpectInstalled();
    EXPECT_EQ(run.output.find(ScriptValue(m_shipped, "LOGON_PASSWORD")), std::string::npos)
        << "the password is not in the script's output";
}

TEST_F(DeployScriptTest, FromAShareFolderItStoresEachValueAsWrittenOrRefusesBeforeWritingAnything)
{
    // Not among them: a percent sign, which the script says to write as "%%". Both cmds keep one "%"
    // in the variable (`set` shows it), but Wine's cmd expands a variable's value once more where it
    // is used, which takes that "%" as well: "50%%" is stored as "50". Windows' cmd.exe does not.
    const bool readsUtf8 = ReadsScriptsAsUtf8AfterChcp();
    if (std::getenv("TOLLVEY_CMD_READS_UTF8")) {
        ASSERT_TRUE(readsUtf8) << "this run's cmd reads batch files as UTF-8";
    }
    struct Case
    {
        const char* label;
        std::string user;
        std::string password;
        const char* switches; // cmd's
        // newVersion: every value stored as written, and the configuration version recorded; 8: the
        // values stored as written, for an account this computer does not have; otherwise nothing
        // written
        unsigned long status;
        const char* version = nullptr; // the configuration version, when not as shipped
    };
    const std::string user = ThisUser();
    const Case cases[] = {
        {"blanks", user, "two words", "", newVersion},
        {"cmd's special characters", user, "a&b|c<d>e^f", "", newVersion},
        {"exclamation marks", user, "!bang!", "", newVersion},
        {"a password ending in a backslash", user, "secret\\", "", newVersion},
        {"a password ending in backslashes after a blank", user, "two \\\\", "", newVersion},
        // TollveyCheck.exe cannot tell which domain such a name asks for: no failure.
        {"a user name ending in a backslash", user + "\\", "change-me", "", newVersion},
        {"delayed expansion on", user, "pa!ss!word", "/V:ON", newVersion},
        {"a UTF-8 password", user, "P\xC3\xA4sswort \xE2\x82\xAC", "", readsUtf8 ? newVersion : 6u},
        {"a tab", user, "tab\there", "", newVersion},
        {"an account this computer does not have", "kiosk", "change-me", "", 8},
        {"a double quote", user, "pa\"ss", "", 5},
        {"a double quote before &", user, "a\"&b", "", 5},
        {"a double quote in the configuration version", user, "change-me", "", 5, "1\"&b"},
        {"an empty user name", "", "change-me", "", 5},
        {"a user name of blanks", "   ", "change-me", "", 5},
    };
    for (const Case& c : cases) {
        ResetValues();
        RemoveVersion();
        RemoveTree(LogFolder());
        std::string script = WithScriptValue(WithScriptValue(m_shipped, "LOGON_USER", c.user),
                                             "LOGON_PASSWORD", c.password);
        if (c.version != nullptr)
            script = WithScriptValue(script, "LOGON_CONFIGURATION_VERSION", c.version);
        const CProcessResult run = RunScript(ShareWith(script), "", NativeCmd(), c.switches);
        EXPECT_EQ(run.exitCode, c.status) << c.label << ": " << run.output << run.errors;
        EXPECT_EQ(RecordedVersion(), c.status == newVersion ? ScriptValue(m_shipped, "LOGON_CONFIGURATION_VERSION") : "<missing>")
            << c.label;
        const std::string log = LogText();
        EXPECT_NE(log.find("  end: status " + std::to_string(c.status) + "\r\n"), std::string::npos)
            << c.label << ": the log ends with the run's status: " << log;
        EXPECT_EQ(log.find(c.password), std::string::npos) << c.label << ": the password is not in the log";
        if (c.status != newVersion && c.status != 8) {
            EXPECT_EQ(Written(), "") << c.label << ": nothing written";
            continue;
        }
        EXPECT_EQ(Winlogon("DefaultUserName"), c.user) << c.label;
        EXPECT_EQ(Winlogon("DefaultPassword"), c.password) << c.label;
        EXPECT_EQ(Winlogon("DefaultDomainName"), Expanded("%COMPUTERNAME%")) << c.label;
        EXPECT_EQ(Winlogon("AutoAdminLogon"), "1") << c.label;
        EXPECT_EQ(Entry(), "<missing>") << c.label << ": no start-up entry";
    }
}

// Some editors put a byte order mark before the first line, which cmd then reads as part of it.
TEST_F(DeployScriptTest, SavedWithAByteOrderMarkItStillKeepsThePasswordOutOfItsOutput)
{
    const CProcessResult run = RunScript(ShareWith("\xEF\xBB\xBF" + m_script));
    EXPECT_EQ(run.exitCode, newVersion) << run.errors;
    const std::string password = ScriptValue(m_shipped, "LOGON_PASSWORD");
    EXPECT_EQ(Winlogon("DefaultPassword"), password);
    EXPECT_EQ(run.output.find(password), std::string::npos) << "the password is not in the script's output";
}

TEST_F(DeployScriptTest, EndsWithStatus1WhenTheWinlogonKeyCannotBeWritten)
{
    const CReadOnlyKey readOnly(winlogonPath, KEY_WOW64_64KEY);
    ASSERT_TRUE(readOnly.IsApplied()) << "the Winlogon key is made read-only";
    const CProcessResult run = RunScript(ShippedScript());
    EXPECT_EQ(run.exitCode, 1u) << "TollveyCmd.exe's status, passed on";
    EXPECT_EQ(Shown("DefaultUserName"), "<missing>");
}

TEST_F(DeployScriptTest, EndsWithStatus3AndWritesNothingWhenTheProgramsAreNotBesideIt)
{
    const std::string alone = MakeScratchDirectory("deploy script alone") + "deploy.cmd";
    WriteBytes(alone, m_shipped);
    const CProcessResult run = RunScript(alone);
    EXPECT_EQ(run.exitCode, 3u) << run.output << run.errors;
    EXPECT_EQ(Written(), "");
}

// Blocked by policy, damaged: cmd's own status for a program that does not start would read as
// one of TollveyCmd.exe's, or as none the script documents.
TEST_F(DeployScriptTest, EndsWithStatus4AndWritesNothingWhenTollveyCmdCannotRun)
{
    const std::string script = ShareWith(m_shipped);
    WriteBytes(DirectoryOf(script) + PairSubfolder() + "TollveyCmd.exe", "not a program\r\n");
    const CProcessResult run = RunScript(script);
    EXPECT_EQ(run.exitCode, 4u) << run.output << run.errors;
    EXPECT_EQ(Written(), "");
}

// As a device-management service's uninstall command runs it, after the install command.
TEST_F(DeployScriptTest, OffSwitchesAutomaticLogonOffAndRemovesThePrograms)
{
    struct Case
    {
        const char* arguments;
        unsigned long status;
        const char* autoAdminLogon;
        bool installed;
    };
    const Case cases[] = {
        {"off", 0, "0", false},
        {"OFF", 0, "0", false},
        {"of", 7, "1", true},
        {"off now", 7, "1", true},
    };
    for (const Case& c : cases) {
        ResetValues();
        RemoveVersion();
        const std::string script = ShareWith(m_script);
        ASSERT_EQ(RunScript(script).exitCode, newVersion) << c.arguments << ": installed first";
        ASSERT_TRUE(WriteText(runOncePath, "Tollvey", "left by the dialog", KEY_WOW64_64KEY));
        const CProcessResult run = RunScript(script, c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments << ": " << run.output << run.errors;
        EXPECT_EQ(Winlogon("AutoAdminLogon"), c.autoAdminLogon) << c.arguments;
        if (c.installed) {
            EXPECT_EQ(Winlogon("DefaultPassword"), ScriptValue(m_shipped, "LOGON_PASSWORD")) << c.arguments;
            EXPECT_EQ(Entry(), "left by the dialog") << c.arguments;
            EXPECT_EQ(RecordedVersion(), ScriptValue(m_shipped, "LOGON_CONFIGURATION_VERSION")) << c.arguments;
            ExpectInstalled();
            continue;
        }
        EXPECT_EQ(Winlogon("DefaultUserName"), "") << c.arguments;
        EXPECT_EQ(Winlogon("DefaultPassword"), "") << c.arguments << ": the password forgotten";
        EXPECT_EQ(Entry(), "<missing>") << c.arguments;
        EXPECT_EQ(RecordedVersion(), "<missing>") << c.arguments << ": the configuration version removed";
        EXPECT_EQ(GetFileAttributesW(LongPath(Target()).c_str()), INVALID_FILE_ATTRIBUTES)
            << c.arguments << ": " << Target() << " removed";
    }
}

// A device-management service reads 3010 as done, with a restart to come, and 0 as done: a
// computer that runs the script at every start-up reports 0 once nothing is new. Each run's part of
// the log says what it did, what the check's status meant, and how the run ended.
TEST_F(DeployScriptTest, EndsWith3010WhenItRecordsANewConfigurationVersionAnd0WhenItWasRecorded)
{
    struct Run
    {
        const char* label;
        std::string user;
        const char* version;
        const char* arguments;
        unsigned long status;
        const char* logged;
        bool damagedCheck = false;
    };
    const std::string user = ThisUser();
    const Run runs[] = {
        {"the first run", user, "1", "", newVersion, "configuration version 1 recorded; there was none"},
        {"the same version, as at the next start-up", user, "1", "", 0, "configuration version 1 recorded; it was 1"},
        {"a new version", user, "2", "", newVersion, "configuration version 2 recorded; it was 1"},
        {"an account this computer lacks: 8 comes first", "kiosk", "3", "", 8,
         "TollveyCheck.exe: something stops automatic logon: status 1"},
        {"a name the check cannot judge: no failure", user + "\\", "3", "", newVersion, "TollveyCheck.exe: could not tell: status 2"},
        {"a check that cannot run: no failure", user, "4", "", newVersion,
         "TollveyCheck.exe: cannot run here, nothing was checked", true},
        {"switching off", user, "4", "off", 0, "programs: removed from "},
    };
    const std::string script = ShareWith(m_script);
    for (const Run& run : runs) {
        WriteBytes(script, WithScriptValue(WithScriptValue(m_shipped, "LOGON_USER", run.user), "LOGON_CONFIGURATION_VERSION",
                                           run.version));
        if (run.damagedCheck)
            WriteBytes(DirectoryOf(script) + PairSubfolder() + "TollveyCheck.exe", "not a program\r\n");
        const size_t logged = LogText().size();
        const CProcessResult result = RunScript(script, run.arguments);
        EXPECT_EQ(result.exitCode, run.status) << run.label << ": " << result.output << result.errors;
        const std::string log = LogText().substr(logged);
        EXPECT_NE(log.find("\r\n  " + std::string(run.logged)), std::string::npos) << run.label << ": " << log;
        EXPECT_EQ(log.substr(log.rfind("  end: ")), "  end: status " + std::to_string(run.status) + "\r\n") << run.label;
    }
}

// %ProgramData% lets users make folders: one that the script did not make could lead the system
// account's writes anywhere its maker chose.
TEST_F(DeployScriptTest, KeepsNoLogInALogFolderItDidNotMake)
{
    ASSERT_TRUE(MakeDirectories(LogFolder()));
    const CProcessResult run = RunScript(ShareWith(m_script));
    EXPECT_EQ(run.exitCode, newVersion) << "the deployment goes on: " << run.output << run.errors;
    EXPECT_EQ(LogText(), "<missing>");
    EXPECT_NE(run.output.find("deploy.cmd keeps no log: " + LogFolder() + " was not made by this script"),
              std::string::npos)
        << run.output;
}

// The package owns the files it installs, in either order of the two: the script runs them where
// the package put them and copies nothing, "off" leaves them to it, and the script goes on working
// once the package is removed.
TEST_F(DeployScriptTest, BesideTheWindowsInstallerPackageItRunsThePackagesProgramsAndLeavesThemToIt)
{
    ASSERT_FALSE(Package().empty()) << "TOLLVEY_PACKAGE names the pair's Windows Installer package";
    struct Step
    {
        const char* label;
        const char* command; // msiexec's "/i" or "/x", or the script's argument
        unsigned long status;
        bool installed;         // the programs in Target() afterwards
        const char* logonState; // AutoAdminLogon afterwards
    };
    // The script alone, first: beside the package it needs no programs of its own.
    const std::string alone = MakeScratchDirectory("deploy script alone") + "deploy.cmd";
    WriteBytes(alone, m_script);
    const std::vector<std::pair<std::string, std::vector<Step>>> orders = {
        {alone,
         {{"the package", "/i", 0, true, "<missing>"},
          {"then the script", "", newVersion, true, "1"},
          {"the script switched off", "off", 0, true, "0"},
          {"the package removed", "/x", 0, false, "0"}}},
        {ShareWith(m_script),
         {{"the script", "", newVersion, true, "1"},
          {"then the package over its copies", "/i", 0, true, "1"},
          {"the script again", "", 0, true, "1"},
          {"the package removed", "/x", 0, false, "1"},
          {"the script once more", "", 0, true, "1"}}},
    };
    for (const auto& [script, steps] : orders) {
        ResetValues();
        for (const Step& step : steps) {
            const bool msiexec = step.command[0] == '/';
            const CProcessResult run = msiexec ? CProcessResult{} : RunScript(script, step.command);
            EXPECT_EQ(msiexec ? Msiexec(step.command) : run.exitCode, step.status) << step.label << ": " << run.output;
            if (step.installed)
                ExpectInstalled();
            EXPECT_EQ(GetFileAttributesW(LongPath(Target()).c_str()) != INVALID_FILE_ATTRIBUTES, step.installed)
                << step.label << ": " << Target();
            EXPECT_EQ(Winlogon("AutoAdminLogon"), step.logonState) << step.label;
        }
    }
    EXPECT_NE(LogText().find("  programs: left to Windows Installer in " + Target() + "\\\r\n"), std::string::npos)
        << LogText();
}

// A 32-bit command processor, as some device-management agents start their commands in, has the
// 32-bit Program Files folder as its own.
TEST_F(DeployScriptIn32BitCmdTest, InstallsThePairForThisWindowsIntoTheNativeProgramFilesFolder)
{
    ASSERT_TRUE(Is64BitWindows()) << "only 64-bit Windows has a 32-bit cmd beside its own";
    const CProcessResult run = RunScript(ShareWith(m_script), "", ThirtyTwoBitCmd());
    EXPECT_EQ(run.exitCode, newVersion) << run.output << run.errors;
    ExpectInstalled();
    EXPECT_EQ(Winlogon("DefaultUserName"), ThisUser());
    EXPECT_EQ(Winlogon("DefaultPassword"), ScriptValue(m_shipped, "LOGON_PASSWORD"));
    EXPECT_EQ(RecordedVersion(), ScriptValue(m_shipped, "LOGON_CONFIGURATION_VERSION")) << "in the 64-bit view";
}

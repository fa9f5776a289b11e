// The example deployment script, docs\deploy.cmd, run by cmd.exe as an administrator's start-up
// script or device-management deployment would run it: from the unpacked release archive
// (TOLLVEY_UNPACKED, set by archive-test.sh), or copied with both programs into one folder.
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

namespace {

std::string Unpacked()
{
    const char* folder = std::getenv("TOLLVEY_UNPACKED");
    return folder ? folder : "";
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

// A text value of the Winlogon key as Wine's reg.exe, an independent reader, shows it in the 64-bit
// view; "<missing>" when it shows none.
std::string Shown(const char* name)
{
    const std::optional<std::string> data = RegQueryData(winlogonKeyPath, name, "/reg:64");
    const std::string text = "REG_SZ    ";
    if (!data)
        return "<missing>";
    return data->compare(0, text.size(), text) == 0 ? data->substr(text.size()) : *data;
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
        RemoveTree(Target());
    }
    void TearDown() override { RemoveTree(Target()); }

    static std::string ShippedScript() { return Unpacked() + "\\docs\\deploy.cmd"; }
    static std::string Target() { return Expanded("%ProgramFiles%\\Tollvey"); }

    // A folder with blanks in its path that holds both programs and the script, as a share would.
    static std::string ShareWith(const std::string& script)
    {
        const std::string share = MakeScratchDirectory("deploy share") + "logon scripts\\";
        MakeDirectories(share);
        for (const char* program : {"TollveyCmd.exe", "Tollvey.exe"})
            CopyInto(Unpacked() + "\\" + program, share + program);
        WriteBytes(share + "deploy.cmd", script);
        return share + "deploy.cmd";
    }

    static CProcessResult RunScript(const std::string& path)
    {
        return RunProcess("cmd.exe /c \"\"" + path + "\"\"");
    }

    std::string m_shipped;
};

} // namespace

TEST_F(DeployScriptTest, AsShippedFromTheArchiveItInstallsBothProgramsAndSetsItsValuesWithoutAStartupEntry)
{
    const CProcessResult run = RunScript(ShippedScript());
    ASSERT_TRUE(run.started) << "cmd.exe starts";
    EXPECT_EQ(run.exitCode, 0u) << run.output << run.errors;

    EXPECT_EQ(Shown("DefaultUserName"), ScriptValue(m_shipped, "LOGON_USER"));
    EXPECT_EQ(Shown("DefaultPassword"), ScriptValue(m_shipped, "LOGON_PASSWORD"));
    EXPECT_EQ(Shown("DefaultDomainName"), Expanded(ScriptValue(m_shipped, "LOGON_DOMAIN")));
    EXPECT_EQ(Shown("AutoAdminLogon"), "1");
    EXPECT_FALSE(RegQueryData(runOnceKeyPath, "Tollvey", "/reg:64"))
        << "a start-up script registers no start-up entry";
    for (const char* program : {"TollveyCmd.exe", "Tollvey.exe"}) {
        EXPECT_EQ(ReadBytes(Target() + "\\" + program), ReadBytes(Unpacked() + "\\" + program))
            << program << " is installed, unchanged, in " << Target();
    }
    EXPECT_EQ(run.output.find(ScriptValue(m_shipped, "LOGON_PASSWORD")), std::string::npos)
        << "the password is not in the script's output";
}

TEST_F(DeployScriptTest, FromAShareFolderBesideBothProgramsItPassesAwkwardPasswordsThroughUnchanged)
{
    // As written in the script, and as Windows must store it. Not among them: a percent sign, which
    // the script says to write as "%%"; Windows' cmd.exe reads that as one "%", Wine's drops both
    // inside a set command.
    const struct
    {
        const char* written;
        const char* stored;
    } cases[] = {
        {"two words", "two words"},
        {"a&b|c<d>e^f", "a&b|c<d>e^f"},
        {"!bang!", "!bang!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        const CProcessResult run = RunScript(ShareWith(WithScriptValue(m_shipped, "LOGON_PASSWORD", c.written)));
        EXPECT_EQ(run.exitCode, 0u) << run.output << run.errors;
        EXPECT_EQ(Shown("DefaultPassword"), c.stored);
        EXPECT_EQ(Shown("DefaultUserName"), ScriptValue(m_shipped, "LOGON_USER"));
    }
}

TEST_F(DeployScriptTest, EndsWithStatus1WhenTheWinlogonKeyCannotBeWritten)
{
    const CReadOnlyKey readOnly(winlogonKeyPath, KEY_WOW64_64KEY);
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
    for (const char* name : storeValueNames)
        EXPECT_EQ(Shown(name), "<missing>") << name;
}

#include "DeployRun.h"

#include "ConfigurationRecord.h"
#include "ConsoleOutput.h"
#include "DeployEvent.h"
#include "DeployFile.h"
#include "DeployLog.h"
#include "ExitStatus.h"
#include "Judgement.h"
#include "LogonReader.h"
#include "OutOfMemory.h"
#include "PasswordSecret.h"
#include "RunLock.h"
#include "RunReport.h"
#include "TollveyVersion.h"
#include "WideText.h"
#include "WinlogonSettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* Meaning(unsigned status)
{
    switch (status) {
    case exitRecordedBefore: return "done, and this configuration version was recorded before";
    case exitRestartApplies: return "done, and this configuration version was not recorded before: a restart applies it";
    case exitDeployWriteFailed: return "a write failed";
    case exitFileRefused: return "TollveyDeploy.ini was refused: nothing was written";
    case exitArgumentRefused: return "an argument was refused: nothing was done";
    case exitCheckStopped:
        return "the values were written, but the check found what stops automatic logon: no version was recorded";
    case exitCredentialsRefused:
        return "Windows refused the file's credentials: nothing was written, and this version is not tried again";
    case exitAnotherRun: return "another run holds the deployment: nothing was done";
    }
    return "";
}

// The file's bytes, one more than it may hold at most so that a larger one is told; wiped by the
// caller, as they hold the password.
CSystemStatus ReadBytes(const char* path, char* bytes, size_t capacity, size_t& size)
{
    const HANDLE file = CreateFileW(CWideText(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return CSystemStatus(GetLastError());
    size = 0;
    DWORD read = 1;
    bool done = true;
    while (done && read != 0 && size < capacity) {
        done = ReadFile(file, bytes + size, static_cast<DWORD>(capacity - size), &read, nullptr) != FALSE;
        size += done ? read : 0;
    }
    const CSystemStatus status(done ? ERROR_SUCCESS : GetLastError());
    CloseHandle(file);
    return status;
}

bool ReadDeployFile(const char* folder, CDeployFile& file, CRunReport& report)
{
    CHeapString path(folder);
    path.Append(CDeployFile::fileName);
    const size_t capacity = CDeployFile::maxSize + 1;
    char* bytes = static_cast<char*>(AllocateOrStop(capacity, 1));
    size_t size = 0;
    const CSystemStatus read = ReadBytes(path.GetText(), bytes, capacity, size);
    const bool parsed = read && file.Parse(bytes, size);
    WipeBytes(bytes, capacity);
    std::free(bytes);
    if (!read)
        report.Say(path.GetText(), read);
    else if (!parsed)
        report.Say(file.GetErrorText());
    return parsed;
}

CSystemStatus ComputerName(CHeapString& name)
{
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &length))
        return CSystemStatus(GetLastError());
    return CSystemStatus(ToUtf8(computer, name) ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION);
}

bool RemoveSecret(CRunReport& report)
{
    bool gone = false;
    const CSystemStatus removed = RemovePasswordSecret(gone);
    if (!removed)
        report.Say("LSA secret DefaultPassword could not be removed", removed);
    else
        report.Say(gone ? "LSA secret DefaultPassword: removed, so that Windows logs on with the password written now"
                        : "LSA secret DefaultPassword: not there");
    return static_cast<bool>(removed);
}

bool Write(CWinlogonSettings& settings, const CWinlogonChange& change, const char* done, CRunReport& report)
{
    const CWinlogonResult result = settings.Apply(change);
    if (result.IsDone()) {
        report.Say(done);
        return true;
    }
    CHeapString failure;
    result.AppendFailureText(failure);
    report.SayLines(failure.GetText(), "");
    return false;
}

// What TollveyCheck would say of the state just written, a line each; whether something stops it.
bool Stopped(const CDeployCalls& calls, CRunReport& report)
{
    CLogonState state;
    ReadLogonState(state, *calls.logon);
    CFindings findings;
    const unsigned verdict = Judge(state, findings);
    state.password.text.Wipe();
    CHeapString lines;
    AppendReport(findings, verdict, lines);
    report.SayLines(lines.GetText(), "check: ");
    return verdict == exitStopped;
}

// Logs the file's account on with the file's password, as Winlogon will, before anything is written:
// false when Windows refuses them for good. A wrong name or password is kept, as retrying it would
// count toward the account's lockout; a locked, disabled or expired account is mended in the
// directory, without a new file, and is tried again. What is not an answer decides nothing: a
// computer off the network still deploys.
bool CredentialsAccepted(const CDeployFile& file, const char* domain, const CDeployCalls& calls, CRunReport& report)
{
    const char* version = file.m_version.GetText();
    if (IsRecorded(version)) {
        report.Say("credentials not tried: this configuration version is recorded");
        return true;
    }
    CHeapString because;
    if (WasRefused(version, because)) {
        report.Say({"credentials not tried again: this configuration version's were refused before: ", because.GetText()});
        return false;
    }
    if (!file.m_verify) {
        report.Say("credentials not tried: the file says verify=no");
        return true;
    }
    CLogonState state;
    state.userName.SetText(file.m_userName.GetText());
    state.domain.SetText(domain);
    calls.logon->readComputer(state.computer);
    CLogonTry tried;
    TryCredentials(state, AskedAccount(state), file.m_password.GetText(), tried, *calls.logon);
    if (tried.answer != CLogonTry::tried) {
        report.Say({"credentials not tried: ", tried.reason.GetText()});
        return true;
    }
    if (tried.status == 0) {
        report.Say({"credentials: Windows logs ", tried.account.GetText(), " on with the file's password"});
        return true;
    }
    CHeapString line("credentials of ");
    line.Append(tried.account);
    line.Append(": ");
    line.Append(tried.reason);
    if (!RefusesForGood(tried.status)) {
        report.Say({line.GetText(), ": no answer, which decides nothing"});
        return true;
    }
    report.Say(line.GetText());
    if (tried.status == statusWrongPassword && !KeepRefusal(version, line.GetText()))
        report.Say("the refusal could not be kept: the next run tries again");
    return false;
}

unsigned SetFromFile(const char* folder, const CDeployCalls& calls, CRunReport& report)
{
    CDeployFile file;
    if (!ReadDeployFile(folder, file, report))
        return exitFileRefused;
    CHeapString computer;
    const bool principalName = std::strchr(file.m_userName.GetText(), '@') != nullptr;
    // A local account, unless the file names a domain; a user@domain name carries its own.
    if (file.m_domain.IsEmpty() && !principalName) {
        const CSystemStatus named = ComputerName(computer);
        if (!named) {
            report.Say("this computer's name could not be read", named);
            return exitDeployWriteFailed;
        }
    }
    const char* domain = file.m_domain.IsEmpty() ? computer.GetText() : file.m_domain.GetText();
    report.Say({"TollveyDeploy.ini: account ", file.m_userName.GetText(), principalName ? "" : " of ",
                principalName ? "" : domain, ", configuration version ", file.m_version.GetText(),
                " (the password is never shown)"});
    if (!CredentialsAccepted(file, domain, calls, report))
        return exitCredentialsRefused;
    if (!RemoveSecret(report))
        return exitDeployWriteFailed;
    CWinlogonSettings settings;
    if (!Write(settings, {file.m_userName.GetText(), file.m_password.GetText(), domain, CWinlogonChange::reloadOff},
               "written: AutoAdminLogon 1, DefaultUserName, DefaultPassword, DefaultDomainName; no start-up entry",
               report))
        return exitDeployWriteFailed;
    if (Stopped(calls, report)) {
        static_cast<void>(RemoveVersion(false, report));
        return exitCheckStopped;
    }
    return RecordVersion(file.m_version.GetText(), report);
}

unsigned SwitchOff(CRunReport& report)
{
    bool done = RemoveSecret(report);
    CWinlogonSettings settings;
    done = Write(settings, {"", "", nullptr, CWinlogonChange::reloadOff},
                 "written: AutoAdminLogon 0, DefaultUserName and DefaultPassword empty; no start-up entry", report) &&
           done;
    done = RemoveVersion(true, report) && done;
    return done ? exitRecordedBefore : exitDeployWriteFailed;
}

void SayWho(bool off, const char* folder, CRunReport& report)
{
    wchar_t user[257];
    DWORD length = sizeof user / sizeof user[0];
    CHeapString name("an account it could not name");
    if (GetUserNameW(user, &length))
        static_cast<void>(ToUtf8(user, name));
    CHeapString file(folder);
    file.Append(CDeployFile::fileName);
    report.Say({"TollveyDeploy " TOLLVEY_VERSION_STRING ", as ", name.GetText(),
                off ? ": switches automatic logon off" : ": sets automatic logon from ", off ? "" : file.GetText()});
}

} // namespace

unsigned RunDeploy(bool off, const char* folder, const CDeployCalls& calls)
{
    // The lock goes last, once the log is closed, for the next run to open it.
    CRunLock lock;
    CDeployLog log;
    CRunReport report(log);
    unsigned status = exitAnotherRun;
    CHeapString without;
    const CRunLock::Taken taken = lock.Take(calls, without);
    if (taken != CRunLock::busy) {
        log.Open(calls);
        SayWho(off, folder, report);
        if (taken == CRunLock::without)
            report.Say({"goes on without its lock: ", without.GetText()});
        if (!log.IsOpen())
            report.Say({"no log: ", log.GetWhyNone()});
        CHeapString why;
        if (*log.GetFolder() != '\0' && !RegisterMessageFile(log.GetFolder(), why))
            report.Say({"event source Tollvey not registered: ", why.GetText()});
        status = off ? SwitchOff(report) : SetFromFile(folder, calls, report);
    } else {
        SayWho(off, folder, report);
    }
    CHeapString last("exit status ");
    last.AppendDecimal(status);
    report.Say({last.GetText(), ": ", Meaning(status)});
    ReportRunEvent(calls, status, report.GetText());
    return status;
}

unsigned RefuseArguments(CDeployCmdLine& cmdLine, const CDeployCalls& calls)
{
    PrintUsage(cmdLine);
    // So that a mistyped command of device management shows where its other runs do.
    const char* error = cmdLine.GetErrorText();
    size_t length = std::strlen(error);
    while (length > 0 && error[length - 1] == '\n')
        --length;
    CHeapString line;
    line.Assign(error, length);
    CHeapString text("TollveyDeploy " TOLLVEY_VERSION_STRING ": ");
    text.Append(length != 0 ? line.GetText() : "an argument that is not valid Unicode");
    text.Append("\nexit status 7: ");
    text.Append(Meaning(exitArgumentRefused));
    ReportRunEvent(calls, exitArgumentRefused, text.GetText());
    return exitArgumentRefused;
}

void PrintUsage(CDeployCmdLine& cmdLine)
{
    // The error text names the token that was refused, as the user typed it.
    PrintUserText(cmdLine.GetErrorText());
    std::puts("Usage:");
    std::puts(cmdLine.GetUsage(true));
}

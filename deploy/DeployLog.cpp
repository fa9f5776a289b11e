#include "DeployLog.h"

#include "LogFolderRules.h"
#include "Registry.h"
#include "SecurityAttributes.h"
#include "SystemStatus.h"
#include "WideText.h"

#include <cstring>

namespace {

// Administrators and the system account may change the folder and what it holds, users may read it;
// P keeps ProgramData's inheritable entries, which let users add files, out.
const wchar_t* const folderSecurity = L"O:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
const char* const profileListPath = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
// Past this size the log becomes deploy.old.log, replacing the one before: a few hundred runs in all.
const ULONGLONG rollOverSize = 100000;

// Where Windows keeps ProgramData, as it finds the folder itself: from the profile list. The shell's
// call for it would load the shell, which costs a run more than all else it does.
bool FindProgramData(CHeapString& path)
{
    CValueRead recorded;
    CRegistry::Instance().OpenKey(CRegistry::rootLocalMachine, profileListPath).Read("ProgramData", recorded);
    if (recorded.state != CValueRead::read || (recorded.type != regSz && recorded.type != regExpandSz))
        return false;
    wchar_t expanded[MAX_PATH];
    const DWORD length = ExpandEnvironmentStringsW(CWideText(recorded.text.GetText()), expanded, MAX_PATH);
    return length != 0 && length <= MAX_PATH && ToUtf8(expanded, path);
}

HANDLE OpenFolderHandle(const char* path)
{
    // Without delete sharing, nobody can rename or delete the folder while this handle is held; the
    // reparse point itself is opened, not what it leads to.
    return CreateFileW(CWideText(path), READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

HANDLE OpenLogHandle(const char* path)
{
    CSecurityAttributes made(administratorsOwn);
    return CreateFileW(CWideText(path), FILE_APPEND_DATA | READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                       made.Get(), OPEN_ALWAYS, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

void AppendDigits(unsigned value, unsigned digits, CHeapString& text)
{
    char part[8] = {};
    for (unsigned i = digits; i > 0; --i, value /= 10)
        part[i - 1] = static_cast<char>('0' + value % 10);
    text.Append(part);
}

} // namespace

void AppendTime(CHeapString& text)
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    const struct
    {
        unsigned value;
        unsigned digits;
        const char* after;
    } parts[] = {{now.wYear, 4, "-"}, {now.wMonth, 2, "-"}, {now.wDay, 2, "T"},
                 {now.wHour, 2, ":"}, {now.wMinute, 2, ":"}, {now.wSecond, 2, "Z "}};
    for (const auto& part : parts) {
        AppendDigits(part.value, part.digits, text);
        text.Append(part.after);
    }
}

CDeployLog::~CDeployLog()
{
    Close();
}

void CDeployLog::Close()
{
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    if (m_folder != INVALID_HANDLE_VALUE)
        CloseHandle(m_folder);
    m_file = m_folder = INVALID_HANDLE_VALUE;
}

bool CDeployLog::Fail(const char* path, const char* why)
{
    m_whyNone.Assign(path);
    m_whyNone.Append(": ");
    m_whyNone.Append(why);
    return false;
}

bool CDeployLog::Fail(const char* path, DWORD status)
{
    CHeapString why;
    CSystemStatus(status).AppendText(why);
    return Fail(path, why.GetText());
}

void CDeployLog::Open(const CDeployCalls& calls)
{
    CHeapString log;
    if (!OpenFolder(calls))
        return;
    log = m_folderPath;
    log.Append("deploy.log");
    if (!OpenFile(calls, log.GetText()))
        return;
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(m_file, &size) && static_cast<ULONGLONG>(size.QuadPart) >= rollOverSize) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        CHeapString old(m_folderPath);
        old.Append("deploy.old.log");
        if (!MoveFileExW(CWideText(log.GetText()), CWideText(old.GetText()), MOVEFILE_REPLACE_EXISTING)) {
            Fail(log.GetText(), GetLastError());
            return;
        }
        static_cast<void>(OpenFile(calls, log.GetText()));
    }
}

bool CDeployLog::OpenFolder(const CDeployCalls& calls)
{
    if (!FindProgramData(m_folderPath))
        return Fail("%ProgramData%", "Windows does not tell where it is");
    m_folderPath.Append("\\Tollvey");
    const CHeapString path(m_folderPath);
    m_folderPath.Append("\\");

    CSecurityAttributes attributes(folderSecurity);
    if (!attributes.IsMade())
        return Fail(path.GetText(), GetLastError());
    if (!CreateDirectoryW(CWideText(path.GetText()), attributes.Get()) && GetLastError() != ERROR_ALREADY_EXISTS)
        return Fail(path.GetText(), GetLastError());

    m_folder = OpenFolderHandle(path.GetText());
    if (m_folder == INVALID_HANDLE_VALUE)
        return Fail(path.GetText(), GetLastError());
    BY_HANDLE_FILE_INFORMATION information = {};
    CHeapString sddl;
    CHeapString reason;
    if (!GetFileInformationByHandle(m_folder, &information))
        CSystemStatus(GetLastError()).AppendText(reason);
    else if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        reason.Assign("it is a file, not a folder");
    else if (AcceptLogFolder(calls.readSecurity(m_folder, SE_FILE_OBJECT, sddl) ? sddl.GetText() : nullptr,
                             (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0, reason))
        return true;
    Close();
    return Fail(path.GetText(), reason.GetText());
}

bool CDeployLog::OpenFile(const CDeployCalls& calls, const char* path)
{
    m_file = OpenLogHandle(path);
    if (m_file == INVALID_HANDLE_VALUE)
        return Fail(path, GetLastError());
    BY_HANDLE_FILE_INFORMATION information = {};
    CHeapString sddl;
    CHeapString reason;
    if (!GetFileInformationByHandle(m_file, &information))
        CSystemStatus(GetLastError()).AppendText(reason);
    else if (AcceptLogFile(calls.readSecurity(m_file, SE_FILE_OBJECT, sddl) ? sddl.GetText() : nullptr,
                           (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                           information.nNumberOfLinks, reason))
        return true;
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    return Fail(path, reason.GetText());
}

void CDeployLog::Write(const char* line)
{
    if (!IsOpen())
        return;
    CHeapString text;
    AppendTime(text);
    text.Append(line);
    text.Append("\r\n");
    const DWORD length = static_cast<DWORD>(std::strlen(text.GetText()));
    DWORD written = 0;
    if (WriteFile(m_file, text.GetText(), length, &written, nullptr) && written == length)
        return;
    CHeapString log(m_folderPath);
    log.Append("deploy.log");
    Fail(log.GetText(), GetLastError());
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

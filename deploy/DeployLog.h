// CDeployLog: %ProgramData%\Tollvey\deploy.log, where each run appends what it did, a line each with
// its time in UTC. The system account writes it, and any user may make a folder in ProgramData: so
// the folder is made with an access list of its own, held open while the log is open so that it can
// be neither renamed nor replaced, and a folder or a file found there is used only as the rules of
// LogFolderRules.h allow. Otherwise there is no log, and why.
#pragma once

#include "DeployCalls.h"
#include "HeapString.h"

#include <windows.h>

// The time now, in UTC, ISO 8601, and a blank, as each line of the log begins: 2026-12-10T01:50:48Z.
void AppendTime(CHeapString& text);

// What a file made in the log's folder is made with: the administrators as its owner, whoever of them
// or the system account runs, and the folder's access list, inherited. A file an administrator's own
// run made would else be that administrator's, and refused to the system account's runs after.
const wchar_t* const administratorsOwn = L"O:BA";

class CDeployLog
{
public:
    CDeployLog() = default;
    CDeployLog(const CDeployLog&) = delete;
    CDeployLog& operator=(const CDeployLog&) = delete;
    ~CDeployLog();

    void Open(const CDeployCalls& calls);
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    // Why there is no log, or why it ended: a path, then why.
    const char* GetWhyNone() const { return m_whyNone.GetText(); }
    // The folder, ending in a backslash, while it is held open and its rules allow it; "" otherwise.
    const char* GetFolder() const { return m_folder != INVALID_HANDLE_VALUE ? m_folderPath.GetText() : ""; }

    // Appends the line after its time. A write that fails ends the log, and says why.
    void Write(const char* line);

private:
    bool OpenFolder(const CDeployCalls& calls);
    bool OpenFile(const CDeployCalls& calls, const char* path);
    bool Fail(const char* path, const char* why);
    // The same, for an error Windows gave.
    bool Fail(const char* path, DWORD status);
    void Close();

    HANDLE m_folder = INVALID_HANDLE_VALUE;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    CHeapString m_folderPath;
    CHeapString m_whyNone;
};

#include "DialogProcess.h"

#include "Process.h"
#include "Resource.h"

#include <iterator>

namespace {

struct CSearch
{
    DWORD processId;
    bool settingsDialog;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM search)
{
    CSearch& s = *reinterpret_cast<CSearch*>(search);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[16] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (owner != s.processId || !IsWindowVisible(window) || lstrcmpA(caption, "Tollvey") != 0)
        return TRUE;
    if ((GetDlgItem(window, IDC_USERNAME) != nullptr) != s.settingsDialog)
        return TRUE;
    s.found = window;
    return FALSE;
}

struct CControlCount
{
    const char* className;
    const char* text; // nullptr: any
    int count;
};

BOOL CALLBACK CountControl(HWND control, LPARAM counting)
{
    CControlCount& c = *reinterpret_cast<CControlCount*>(counting);
    char className[32] = "";
    GetClassNameA(control, className, sizeof className);
    char text[512] = "";
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (lstrcmpiA(className, c.className) == 0 && (c.text == nullptr || lstrcmpA(text, c.text) == 0))
        ++c.count;
    return TRUE;
}

BOOL CALLBACK TakeMessage(HWND control, LPARAM message)
{
    char className[32] = "";
    GetClassNameA(control, className, sizeof className);
    wchar_t text[1024] = L"";
    SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    if (lstrcmpiA(className, "Static") != 0 || text[0] == L'\0')
        return TRUE;
    *reinterpret_cast<std::string*>(message) = Utf8(text);
    return FALSE;
}

} // namespace

std::string MessageText(HWND box)
{
    std::string message = "<none>";
    EnumChildWindows(box, TakeMessage, reinterpret_cast<LPARAM>(&message));
    return message;
}

HWND WaitForFocus(HWND control, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    GUITHREADINFO info = {};
    do {
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info) && info.hwndFocus == control)
            break;
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return info.hwndFocus;
}

bool HasControl(HWND window, const char* className, const char* text)
{
    CControlCount counting = {className, text, 0};
    EnumChildWindows(window, CountControl, reinterpret_cast<LPARAM>(&counting));
    return counting.count != 0;
}

int CountControls(HWND window, const char* className)
{
    CControlCount counting = {className, nullptr, 0};
    EnumChildWindows(window, CountControl, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

CDialogProcess::CDialogProcess(const std::string& commandLine)
{
    std::wstring writable = Utf16(commandLine);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
}

CDialogProcess::~CDialogProcess()
{
    if (m_process == nullptr)
        return;
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool CDialogProcess::WaitForExit(DWORD timeoutMs, DWORD& exitCode)
{
    if (m_process == nullptr || WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_process, &exitCode) != FALSE;
}

HWND CDialogProcess::WaitForWindow(DWORD timeoutMs, bool settingsDialog) const
{
    const DWORD start = GetTickCount();
    do {
        CSearch search = {m_processId, settingsDialog, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (WaitForSingleObject(m_process, 10) != WAIT_TIMEOUT)
            return nullptr;
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string ControlText(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    if (control == nullptr)
        return "<missing>";
    wchar_t text[1024] = L"";
    SendMessageW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
    return Utf8(text);
}

void SetControlText(HWND window, int id, const std::string& text)
{
    SetDlgItemTextW(window, id, Utf16(text).c_str());
}

// A run of the dialog program that the test watches while it runs: it either ends by itself
// (silent mode) or shows its window, which the test can read and close.
#pragma once

#include <windows.h>

#include <string>

class CDialogProcess
{
public:
    // commandLine (UTF-8) goes to CreateProcessW as it is.
    explicit CDialogProcess(const std::string& commandLine);
    CDialogProcess(const CDialogProcess&) = delete;
    CDialogProcess& operator=(const CDialogProcess&) = delete;
    // Ends the program if it is still running, so that a failed test leaves nothing behind.
    ~CDialogProcess();

    bool IsStarted() const { return m_process != nullptr; }

    // False when the program is still running after timeoutMs.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);

    // The program's visible top-level window captioned "Tollvey", the settings dialog or another
    // (a message box); null when none shows within timeoutMs.
    HWND WaitForWindow(DWORD timeoutMs, bool settingsDialog = true) const;

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
};

// Whether the window has a child control of the class with exactly this text.
bool HasControl(HWND window, const char* className, const char* text);
// How many child controls of the class the window has.
int CountControls(HWND window, const char* className);

// What a message box says: the text of its static control that has one, in UTF-8.
std::string MessageText(HWND box);
// The control of its window's thread that has the focus once it is this control, or after timeoutMs.
HWND WaitForFocus(HWND control, DWORD timeoutMs);

// The text of a control of the window, in UTF-8; "<missing>" when there is no such control.
std::string ControlText(HWND window, int id);
// Types text (UTF-8) into a control, as a user of any language would.
void SetControlText(HWND window, int id, const std::string& text);

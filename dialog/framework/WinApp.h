// CWinApp: the one application object. Its start-up hook does all of the program's work; there is
// no main window and no message loop.
#pragma once

#include "framework/String.h"

#include <windows.h>

class CWinApp
{
public:
    CWinApp() { s_app = this; }
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp() { s_app = nullptr; }

    // Called once at start-up; the program ends when it returns.
    virtual bool InitInstance() { return true; }
    // Its result is the process's exit status.
    virtual int ExitInstance() { return m_exitCode; }

    // Takes the application title before InitInstance runs.
    void Start();

    void SetExitCode(int code) { m_exitCode = code; }
    const char* GetTitle() const { return m_title; }

    static CWinApp* GetApp() { return s_app; }

private:
    static CWinApp* s_app;

    CString m_title;
    int m_exitCode = 0;
};

inline CWinApp* AfxGetApp() { return CWinApp::GetApp(); }

#include "TollveyApp.h"

#include "DialogCmdLine.h"
#include "ExitStatus.h"
#include "Settings.h"
#include "TollveyDlg.h"
#include "WinText.h"

namespace {

// Exactly the values given, and the start-up entry only when it was asked about. False when a
// write failed.
bool ApplyGivenValues(const CDialogCmdLine& cmdLine, CWinlogonSettings& settings)
{
    const CWinlogonChange change = {
        cmdLine.m_userName.GetGivenValue(), cmdLine.m_password.GetGivenValue(),
        cmdLine.m_domain.GetGivenValue(),
        cmdLine.m_reload.IsGiven() ? CWinlogonChange::ReloadOf(cmdLine.m_reload.GetValue())
                                   : CWinlogonChange::reloadLeft};
    return settings.Apply(change).IsDone();
}

// Shows the stored values for editing; OK saves them. False when the dialog could not be shown or
// a write failed, so that a caller can tell either from a cancelled dialog.
bool EditInDialog(CWinlogonSettings& settings)
{
    CTollveyDlg dialog(settings);
    dialog.m_userName = settings.m_userName.text.GetText();
    dialog.m_password = settings.m_password.text.GetText();
    dialog.m_domain = settings.m_domain.text.GetText();
    dialog.m_reload = settings.IsReloadOn() ? 1 : 0;
    const INT_PTR result = dialog.DoModal();
    return result == IDOK ? dialog.m_saved : result != -1;
}

} // namespace

CTollveyApp theApp;

bool CTollveyApp::InitInstance()
{
    CWinApp::InitInstance();
    // The stored values are loaded before the command line is looked at.
    CWinlogonSettings settings;
    const CUtf8Arguments arguments(__argc, __wargv);
    CDialogCmdLine cmdLine;
    // An argument that no UTF-8 text can hold is refused like any other it cannot read.
    const bool silent = arguments.GetFirstUnconvertible() < 0 &&
                        cmdLine.Parse(arguments.GetCount(), arguments.GetVector()) &&
                        cmdLine.GetTokenCount() != 0;
    const bool saved = silent ? ApplyGivenValues(cmdLine, settings) : EditInDialog(settings);
    if (!saved)
        SetExitCode(exitWriteFailed);
    return false;
}

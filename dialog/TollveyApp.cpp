#include "TollveyApp.h"

#include "DialogCmdLine.h"
#include "ExitStatus.h"
#include "Resource.h"
#include "Settings.h"
#include "TollveyDlg.h"
#include "WinText.h"

#include <cstdlib>

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

// What OK writes from a box: its text, or nothing while it stays empty over a stored text that
// could not be read, and so could not be shown.
const char* TextToWrite(const CString& box, bool unread)
{
    return (unread && box.IsEmpty()) ? nullptr : static_cast<const char*>(box);
}

// Writes all four values, changed or not (but for what TextToWrite leaves), and tells the user
// whether they were saved.
bool SaveEditedValues(const CTollveyDlg& dialog, CWinlogonSettings& settings)
{
    const CWinlogonResult result = settings.Apply(
        {TextToWrite(dialog.m_userName, settings.m_userNameUnread),
         TextToWrite(dialog.m_password, settings.m_passwordUnread),
         TextToWrite(dialog.m_domain, settings.m_domainUnread),
         CWinlogonChange::ReloadOf(dialog.m_reload != 0)});
    const bool tooLong = result.m_reload == CWinlogonResult::commandTooLong;
    AfxMessageBox(result.HasFailed() ? IDS_SAVE_FAILED : tooLong ? IDS_RELOAD_TOO_LONG : IDS_SAVED,
                  MB_OK);
    return result.IsDone();
}

// Shows the stored values for editing. False when the dialog could not be shown or a write failed,
// so that a caller can tell either from a cancelled dialog.
bool EditInDialog(CWinlogonSettings& settings)
{
    CTollveyDlg dialog;
    dialog.m_userName = settings.m_userName.GetText();
    dialog.m_password = settings.m_password.GetText();
    dialog.m_domain = settings.m_domain.GetText();
    dialog.m_reload = settings.m_reload ? 1 : 0;
    const INT_PTR result = dialog.DoModal();
    if (result != IDOK)
        return result != -1;
    return SaveEditedValues(dialog, settings);
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

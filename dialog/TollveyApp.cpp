#include "TollveyApp.h"

#include "DialogCmdLine.h"
#include "ExitStatus.h"
#include "Resource.h"
#include "Settings.h"
#include "TollveyDlg.h"
#include "WinText.h"

#include <cstdlib>

namespace {

// Applies exactly the given values, in the order the start-up command depends on: the reload entry
// is built from the values the store holds when it is written. False when a write failed.
bool ApplyGivenValues(const CDialogCmdLine& cmdLine, CWinlogonSettings& settings)
{
    bool saved = true;
    if (cmdLine.m_userName.IsGiven())
        saved = settings.SetUserName(cmdLine.m_userName.GetValue()) && saved;
    if (cmdLine.m_password.IsGiven())
        saved = settings.SetPassword(cmdLine.m_password.GetValue()) && saved;
    if (cmdLine.m_domain.IsGiven())
        saved = settings.SetDomain(cmdLine.m_domain.GetValue()) && saved;
    if (cmdLine.m_reload.IsGiven())
        saved = settings.SetReload(cmdLine.m_reload.GetValue()) && saved;
    return saved;
}

// Writes all four values, changed or not, and tells the user whether they were saved.
bool SaveEditedValues(const CTollveyDlg& dialog, CWinlogonSettings& settings)
{
    const bool userNameSaved = settings.SetUserName(dialog.m_userName);
    const bool passwordSaved = settings.SetPassword(dialog.m_password);
    const bool domainSaved = settings.SetDomain(dialog.m_domain);
    const bool reloadSaved = settings.SetReload(dialog.m_reload != 0);
    const bool valuesSaved = userNameSaved && passwordSaved && domainSaved;
    UINT message = IDS_SAVED;
    if (!valuesSaved || (!reloadSaved && !settings.IsReloadCommandTooLong()))
        message = IDS_SAVE_FAILED;
    else if (!reloadSaved)
        message = IDS_RELOAD_TOO_LONG;
    AfxMessageBox(message, MB_OK);
    return valuesSaved && reloadSaved;
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

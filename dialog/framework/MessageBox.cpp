#include "framework/MessageBox.h"

#include "framework/String.h"
#include "framework/WinApp.h"

int AfxMessageBox(UINT promptId, UINT type)
{
    CString prompt;
    prompt.LoadString(promptId);
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    const CWinApp* app = AfxGetApp();
    return MessageBoxA(nullptr, prompt, app != nullptr ? app->GetTitle() : nullptr, type);
}

#include "framework/MessageBox.h"

#include "framework/String.h"
#include "framework/WinApp.h"

#include "WideText.h"

int AfxMessageBox(UINT promptId, UINT type)
{
    CString prompt;
    // A missing string still shows a box, empty, whose OK the caller waits for.
    static_cast<void>(prompt.LoadString(promptId));
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    const CWinApp* app = AfxGetApp();
    const CWideText title(app != nullptr ? app->GetTitle() : "");
    return MessageBoxW(nullptr, CWideText(prompt), app != nullptr ? title.GetText() : nullptr, type);
}

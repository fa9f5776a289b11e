// The program's entry: the application object, constructed during static initialisation, runs once.
#include "framework/WinApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->Start();
    // Whatever InitInstance answers, there is no main window and no message loop to run afterwards.
    app->InitInstance();
    return app->ExitInstance();
}

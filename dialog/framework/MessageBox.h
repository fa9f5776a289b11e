// A message box with a string of the string table, titled with the application's title.
#pragma once

#include <windows.h>

// Without an icon in type the box shows the exclamation icon. It has no owner window.
int AfxMessageBox(UINT promptId, UINT type = MB_OK);

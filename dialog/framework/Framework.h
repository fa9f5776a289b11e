// The small application framework of the dialog program: application object, modal dialog, data
// exchange, message box.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageBox.h"
#include "framework/String.h"
#include "framework/WinApp.h"

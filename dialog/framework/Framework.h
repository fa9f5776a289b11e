// The small application framework of the dialog program: application object, modal dialog, data
// exchange.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/String.h"
#include "framework/WinApp.h"

// Resource ids of the dialog program, shared by Tollvey.rc and the code.
#pragma once

#define IDS_SAVED 1

#define IDD_TOLLVEY 101
#define IDI_TOLLVEY 102

#define IDC_RELOAD 1000
#define IDC_USERNAME 1001
#define IDC_DOMAIN 1002
#define IDC_PASSWORD 1003

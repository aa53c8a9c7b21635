// The About dialog's control identifiers, shared with the tests that drive it.
#pragma once

#define IDC_ABOUT_OK 3001
#define IDC_ABOUT_PICICON 3002
#define IDC_ABOUT_SYSINFO 3003
#define IDC_ABOUT_DESCRIPTION 3004
#define IDC_ABOUT_TITLE 3005
#define IDC_ABOUT_VERSION 3006
#define IDC_ABOUT_TEXT1 3007

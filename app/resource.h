// Identifiers shared by the resource script, the windows and the tests that drive them.
#pragma once

#define IDI_APP 1
#define IDR_MAINMENU 100

// frmVemo
#define IDC_TXTFOLDER 1001
#define IDC_LABEL1 1002
#define IDC_OPT89 1003
#define IDC_OPT10 1004
#define IDC_CMDEXECUTE 1005
#define IDC_FRAME1 1006
#define IDC_TXTFONTS 1007
#define IDC_LABEL2 1008
#define IDC_LABEL3 1009
#define IDC_LABEL4 1010

// frmVemo's menu items
#define IDM_FOLDER 2001
#define IDM_EXIT 2002
#define IDM_VERSION 2003
#define IDM_CHECK 2004
#define IDM_RESTORE 2005

// frmAbout
#include "about/about_resource.h"

// frmCheck
#define IDC_CHECK_FILE 3101
#define IDC_CHECK_LIST 3102
#define IDC_CHECK_SUMMARY 3103
#define IDC_CHECK_ADD 3104
#define IDC_CHECK_CLOSE 3105

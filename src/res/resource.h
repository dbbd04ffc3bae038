// Identifiers of the resources setup.exe carries.
#pragma once

#define IDD_MESSAGE 100
#define IDC_MESSAGE_TEXT 1001
#define IDC_MESSAGE_ICON 1002

#define IDD_WAIT 110
#define IDC_WAIT_TEXT 1101

// The program's own icon: Explorer shows the first icon group, so its number
// sorts before every other. cvpack replaces this group (and its icons) by the
// project's icon in a shipped setup.exe; the pages keep theirs.
#define IDI_CV_APPLICATION 1

// Identifiers of the resources setup.exe carries.
#pragma once

#define IDD_MESSAGE 100
#define IDC_MESSAGE_TEXT 1001
#define IDC_MESSAGE_ICON 1002

#define IDD_WAIT 110
#define IDC_WAIT_TEXT 1101

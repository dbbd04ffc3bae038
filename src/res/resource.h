// Identifiers of the resources setup.exe carries.
#pragma once

#define IDD_MESSAGE 100
#define IDC_MESSAGE_TEXT 1001
#define IDC_MESSAGE_ICON 1002

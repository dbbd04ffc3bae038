// Identifiers of the installation engine's dialogs.
#pragma once

#define IDD_COPY_ERROR 200
#define IDC_COPY_ERROR_TEXT 2001
#define IDC_COPY_ERROR_ICON 2002
#define IDC_RETRY_BUTTON 2003
#define IDC_IGNORE_BUTTON 2004
#define IDC_CANCEL_BUTTON 2005

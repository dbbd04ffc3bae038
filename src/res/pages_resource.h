// Identifiers of the wizard's own dialogs.
#pragma once

#define IDD_CANCEL_CONFIRM 300
#define IDC_CANCEL_TEXT 3901
#define IDC_CANCEL_ICON 3902

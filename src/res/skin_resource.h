// Identifiers of the skinned page's resources (skin.rc).
#pragma once

// The empty dialog template every page window is made from.
#define IDD_SKIN_PAGE 240

// The built-in icons that ICON controls select by name ("IDI_EXCLAMATION", ...).
#define IDI_CV_INFO 132
#define IDI_CV_TYPICAL 133
#define IDI_CV_MINIMAL 134
#define IDI_CV_ERROR 135
#define IDI_CV_FOLDER 136
#define IDI_CV_SETUP 137
#define IDI_CV_CUSTOM 138
#define IDI_CV_EXCLAMATION 141

// The tree view's images: two 32x16 pictures side by side, magenta transparent.
#define IDB_SKIN_TREE 240

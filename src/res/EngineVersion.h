// The version of the engine and of the uninstaller, written once for both.
// Every product shares the uninstaller in the Windows folder, and a setup
// replaces it only by the same or a newer version: a version that writes log
// lines an older uninstaller does not know must carry a higher number.
#ifndef CV_ENGINE_VERSION_H
#define CV_ENGINE_VERSION_H
#define CV_VERSION_NUMBERS 1,2,0,0
#define CV_VERSION_TEXT "1.2.0.0\0"
#endif

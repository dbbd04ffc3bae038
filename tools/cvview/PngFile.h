// Writing a bitmap as a PNG file through GDI+.
#pragma once

#include <windows.h>

#include <string>

// False (with a message on stderr) when the file could not be written.
bool SavePng(HBITMAP bitmap, const std::string& path);

// How setting values are interpreted: yes/no keys, numbers and the keys of
// indexed lists. Pure text rules, shared by the engine and the authoring tool.
#pragma once

#include <string>

namespace core::settings {

// Buffer sizes of settings reads: at most size-1 characters survive.
constexpr int kValueSize = 255;
constexpr int kShortValueSize = 100;

// On only when the value is exactly "Yes" (case matters).
bool IsYes(const char* value);
// On unless the value is exactly "No".
bool IsNotNo(const char* value);
// Optional sign and leading decimal digits; anything else reads as 0.
// Values beyond the 32-bit range saturate instead of wrapping.
int ParseNumber(const char* value);
// Key of field `letter` of list item `index`: ("A", 0) gives "A0".
std::string ListKey(const char* letter, int index);

}  // namespace core::settings

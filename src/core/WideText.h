// Conversions between the engine's narrow texts and the UTF-16 the system
// keeps its own data in. A narrow text is in a code page: the ANSI one for
// the project's texts, CP_UTF8 where a rule must see every character the
// system holds.
#pragma once

#include <string>

namespace core::wide {

// "" for an empty text or one that does not convert.
std::wstring FromCodePage(const std::string& text, unsigned codePage);
std::string ToCodePage(const std::wstring& text, unsigned codePage);

}  // namespace core::wide

// The setup expansion of a UTF-8 text (one from a Unicode language file):
// the placeholder values, held in the ANSI code page, are converted to UTF-8
// before they are put in, so the result is UTF-8 throughout.
#pragma once

#include <string>

#include "core/Placeholders.h"

namespace core {

std::string ExpandSetupTextUtf8(const std::string& utf8, const PlaceholderValues& ansiValues);

}  // namespace core

// The title of the uninstaller's message boxes. One uninstaller serves every
// product installed with the engine, so its boxes are titled with the name of
// the product being removed, as its registration gives it (the uninstall
// key's DisplayName), not with the engine's own name.
#pragma once

#include <cstddef>
#include <string>

namespace uninstall {

// The title when the registration names no product (none, or unreadable).
constexpr char kNeutralBoxTitle[] = "Uninstall";
// At most this many bytes of the name are shown: the registration is text
// anyone with administrator rights may have written, of any length.
constexpr size_t kBoxTitleLimit = 100;

// `displayName` in `codePage`'s characters, cut at a character boundary to
// kBoxTitleLimit bytes, its control characters shown as "?"; the neutral
// title when it is empty.
std::string BoxTitle(const std::string& displayName, unsigned codePage);

}  // namespace uninstall

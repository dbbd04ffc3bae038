// The name of the single file a product was installed from, as the setup
// kept for repair records it (Setup\package.name, UTF-8). Portable.
#pragma once

#include <string>

namespace install::setupcache {

// The name the record holds: its first line, used only when it is a bare
// file name (nothing but a name in the folder the product came from: no
// folder, drive or stream part, not "." or "..", no control character,
// at most 255 bytes); else "".
std::string SingleFileNameOf(const std::string& record);

}  // namespace install::setupcache

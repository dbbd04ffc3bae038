// The text of a short web document (a version number, a value for a project
// variable), fetched in one blocking request.
#pragma once

#include <string>

namespace download {

// The document's text at `address` ("http://host[:port]/path" or https),
// at most 64 KiB of it, cut at its Content-Length; "" on any failure (no
// connection, a status other than 200, a failed read, a body shorter than its
// Content-Length).
std::string FetchText(const std::string& address);

}  // namespace download

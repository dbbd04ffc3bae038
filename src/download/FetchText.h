// The text of a short web document (a version number, a value for a project
// variable), fetched on a worker thread while the calling thread keeps its
// windows painted and answering.
#pragma once

#include <functional>
#include <string>

namespace download {

// The document's text at `address` ("http://host[:port]/path" or https),
// at most 64 KiB of it, cut at its Content-Length; "" on any failure (no
// connection, a status other than 200, a redirect the setup does not follow,
// a failed read, a body shorter than its Content-Length), when the whole
// text has not arrived within the receive time-out (30 s, a server sending
// one byte at a time included), or when `cancelRequested` (may be empty,
// asked ten times a second) says so. A failure is written to the diagnostic
// log. Meanwhile the calling thread's windows are painted and take input;
// its timers and the messages the program posts to itself wait.
std::string FetchText(const std::string& address, const std::function<bool()>& cancelRequested = {});

}  // namespace download

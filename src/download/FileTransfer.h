// The download of one payload file: the body of a GET request written to the
// target file on a worker thread of its own (download/TransferJob), while the
// calling thread shows the progress and watches for a cancel. A dropped
// connection is tried again (resumed when the server accepts ranges, started
// anew when it answers with the whole file); a file that did not arrive
// whole, or not with the digest the project names, is deleted, and why is
// written to the diagnostic log.
#pragma once

#include <functional>
#include <string>

#include "download/ProgressDisplay.h"

namespace download {

struct TransferRequest {
    std::string address;     // "http://host[:port]/path" or https, without a digest suffix
    std::string target;      // the local file written
    std::string sha256;      // the digest the file must have (lower-case hex), or "" for none
    bool badDigest = false;  // the project named a malformed digest: the file cannot be kept
};

enum class TransferResult {
    Done,       // the file lies at the target, whole
    Cancelled,  // the user cancelled; the partial file is deleted
    Failed      // the reason tells why; the target is deleted
};

struct TransferOutcome {
    TransferResult result = TransferResult::Failed;
    std::string reason;  // for Failed: the user's text (a status, a system message)
};

// How often a dropped connection is tried again.
constexpr int kRetries = 3;

// Downloads `request.address` to `request.target`, showing the progress on
// `display` (may be null) and asking `cancelRequested` (may be empty) ten
// times a second; a cancel ends the transfer at once, even while the server
// is silent. Returns when the worker has ended, or, cancelled, when the
// partial file has been deleted: a worker still waiting for its server is
// left to its time-out and writes nothing more.
TransferOutcome DownloadFile(const TransferRequest& request, ProgressDisplay* display,
                             const std::function<bool()>& cancelRequested);

}  // namespace download

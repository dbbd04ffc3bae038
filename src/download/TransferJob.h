// One GET transfer run on a worker thread of its own, shared by the file
// downloads and the web texts: the redirects it follows (never from https
// down to http), the retries and resumes of a dropped connection, the checks
// of the answer (the part of the file asked for, a body as long as
// announced), and the "download failed" line of the diagnostic log. The
// thread that waits for the worker may give up on it (Abort): the worker
// then writes nothing more and ends at its next read or time-out.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "download/FileTransfer.h"
#include "download/Internet.h"
#include "download/WebAddress.h"

namespace download::job {

// What the worker writes: the target file, or (with `file` empty) a text in
// memory of at most `maxText` bytes, the rest not read.
struct Sink {
    std::string file;
    size_t maxText = 0;
};

class Job {
public:
    Job(const WebAddress& address, Sink sink, const char* acceptType, int retries)
        : address_(address), sink_(std::move(sink)), acceptType_(acceptType), retries_(retries) {}

    // The worker's whole run; the file is closed when it returns.
    void Run();
    // Asks the worker to stop and closes its Internet handles and its file.
    void Abort();

    uint64_t Done() const { return done_; }
    uint64_t Total() const { return total_; }

    // Written by the worker before it ends; read once it has ended.
    TransferResult result = TransferResult::Failed;
    std::string reason;   // the user's text for a failure
    DWORD status = 0;     // the last HTTP status received, 0 for none
    DWORD error = 0;      // the system or Internet error of the failure, 0 for none
    std::string text;     // the text, without a file

private:
    enum class Attempt { Done, Dropped, Fatal, Cancelled };

    void Transfer();
    Attempt Request(int attempt);
    Attempt Send(const WebAddress& where, const std::string& headers, int attempt, HINTERNET& sent);
    Attempt Receive(HINTERNET request, bool sized, uint64_t bodySize, uint64_t offset);
    bool Write(const char* data, DWORD size);
    bool Restart();
    bool Pause(int attempt);
    void CloseRequest();
    Attempt Fail(const std::string& why, DWORD code, Attempt how);

    const WebAddress address_;
    const Sink sink_;
    const char* const acceptType_;
    const int retries_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    uint64_t written_ = 0;
    uint64_t knownTotal_ = 0;  // the file's size as the first answer gave it, 0 while unknown
    bool resumable_ = false;
    std::atomic<uint64_t> done_{0};
    std::atomic<uint64_t> total_{0};
    std::atomic<bool> stop_{false};

    // The handles and the file, closed by whichever thread comes first: the
    // worker when it is done with them, or the waiter on a cancel.
    std::mutex lock_;
    bool aborted_ = false;
    HINTERNET session_ = nullptr;
    inet::Handle connection_;
    inet::Handle request_;
};

// Runs the job on a new thread; null when none could be made (GetLastError).
HANDLE StartWorker(const std::shared_ptr<Job>& job);

// "%s (error %d)" with the system's text.
std::string SystemReason(DWORD error);

// The "download failed" line: the address, the HTTP status and the error
// code when there are any, and the reason.
void TraceFailure(const std::string& address, DWORD status, DWORD error, const std::string& reason);

}  // namespace download::job

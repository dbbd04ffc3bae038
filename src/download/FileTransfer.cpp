#include "download/FileTransfer.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

#include "core/Messages.h"
#include "core/Trace.h"
#include "download/FileDigest.h"
#include "download/Internet.h"
#include "download/WebAddress.h"

namespace download {

namespace {

using core::MessageId;

// The progress and the cancel are looked at this often while the worker runs.
constexpr DWORD kPollMs = 100;
// After a cancel, the worker is given this long to notice before it is left.
constexpr DWORD kAbandonMs = 2000;
// Reads of this size: the file is written piece by piece, never held whole.
constexpr DWORD kReadSize = 1024;
// The pause before retry n is n times this, or a quarter of a (shortened) time-out.
constexpr DWORD kRetryPauseMs = 1000;

std::string SystemReason(DWORD error) {
    return core::FormatText(core::EnglishText(MessageId::DownloadReasonSystem),
                            {inet::ErrorText(error), std::to_string(error)});
}

std::string StatusReason(DWORD status) {
    return core::FormatText(core::EnglishText(MessageId::DownloadStatusFailed), {std::to_string(status)});
}

// How one request of a transfer ended.
enum class Attempt { Done, Dropped, Fatal, Cancelled };

// One transfer, shared by the worker and the thread that waits for it. The
// worker writes the results before it ends; the waiter reads them after.
class Job {
public:
    Job(const WebAddress& address, const std::string& target) : address_(address), target_(target) {}

    // The worker's whole run; the file is closed when it returns.
    void Run();
    // Asks the worker to stop and closes its Internet handles and its file.
    void Abort();

    uint64_t Done() const { return done_; }
    uint64_t Total() const { return total_; }
    TransferResult result = TransferResult::Failed;
    std::string reason;

private:
    void Transfer();
    Attempt Request(int attempt);
    Attempt Receive(HINTERNET request, const inet::Answer& answer, uint64_t offset);
    bool Write(const char* data, DWORD size);
    bool Restart();
    bool Pause(int attempt);
    void CloseRequest();

    const WebAddress address_;
    const std::string target_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    uint64_t written_ = 0;
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

void Job::Run() {
    Transfer();
    std::lock_guard<std::mutex> lock(lock_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

void Job::Transfer() {
    {
        // Others may delete the file while it is open: the waiter deletes a
        // cancelled transfer's file at once.
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) return;
        file_ = CreateFileA(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            core::trace::Failure("CreateFile", target_, error);
            reason = core::FormatText(core::EnglishText(MessageId::DownloadReasonWrite),
                                      {core::trace::SystemErrorText(error)});
            return;
        }
        session_ = inet::OpenSession();
        if (!session_) {
            const DWORD error = GetLastError();
            core::trace::Failure("InternetOpen", error);
            reason = SystemReason(error);
            return;
        }
    }
    Attempt outcome = Attempt::Dropped;
    for (int attempt = 0; attempt <= kRetries && outcome == Attempt::Dropped; ++attempt) {
        if (attempt > 0 && !Pause(attempt)) outcome = Attempt::Cancelled;
        else outcome = Request(attempt);
        CloseRequest();
    }
    std::lock_guard<std::mutex> lock(lock_);
    if (!aborted_) InternetCloseHandle(session_);
    session_ = nullptr;
    if (outcome == Attempt::Done) result = TransferResult::Done;
    if (outcome == Attempt::Cancelled) result = TransferResult::Cancelled;
}

void Job::Abort() {
    stop_ = true;
    std::lock_guard<std::mutex> lock(lock_);
    aborted_ = true;
    // Closing the root closes the connection and request under it. Not every
    // implementation ends a read that waits for the server that way: the
    // file is closed here too, so it can go now, and the worker, left to its
    // time-out, writes nothing more.
    if (session_) InternetCloseHandle(session_);
    request_.Forget();
    connection_.Forget();
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

void Job::CloseRequest() {
    std::lock_guard<std::mutex> lock(lock_);
    if (aborted_) return;
    request_.Close();
    connection_.Close();
}

// Waits before a retry, longer each time; false when a cancel came meanwhile.
bool Job::Pause(int attempt) {
    const DWORD step = std::min(kRetryPauseMs, inet::TimeoutMs() / 4);
    for (DWORD waited = 0; waited < step * static_cast<DWORD>(attempt); waited += kPollMs) {
        if (stop_) return false;
        Sleep(kPollMs);
    }
    return !stop_;
}

// One GET: from the start, or from the bytes already written when the server
// takes ranges. Only the first request's failure to connect is final; later
// ones are the dropped connection coming back.
Attempt Job::Request(int attempt) {
    const uint64_t offset = resumable_ ? written_ : 0;
    const std::string headers = offset ? "Range: bytes=" + std::to_string(offset) + "-\r\n" : std::string();
    HINTERNET session;
    HINTERNET sentRequest;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) return Attempt::Cancelled;
        session = session_;
    }
    // The handles are made outside the lock (a connection can take a while);
    // a cancel meanwhile closes them with the root.
    inet::Handle connection, request;
    DWORD error = 0;
    const bool sent = inet::SendRequest(session, address_, "*/*", headers, connection, request, error);
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) {
            connection.Forget();
            request.Forget();
            return Attempt::Cancelled;
        }
        std::swap(connection_, connection);
        std::swap(request_, request);
        sentRequest = request_.Get();
    }
    if (!sent) {
        reason = SystemReason(error);
        return attempt == 0 ? Attempt::Fatal : Attempt::Dropped;
    }
    inet::Answer answer;
    if (!inet::ReadAnswer(sentRequest, answer)) {
        reason = SystemReason(GetLastError());
        return Attempt::Fatal;
    }
    if (answer.status != HTTP_STATUS_OK && answer.status != HTTP_STATUS_PARTIAL_CONTENT) {
        reason = StatusReason(answer.status);
        return Attempt::Fatal;
    }
    resumable_ = answer.acceptsRanges;
    // A server that answers a resume with the whole file is written from the start.
    const bool resumed = offset && answer.status == HTTP_STATUS_PARTIAL_CONTENT;
    if (offset && !resumed && !Restart()) return stop_ ? Attempt::Cancelled : Attempt::Fatal;
    return Receive(sentRequest, answer, resumed ? offset : 0);
}

// The body, read with blocking reads to its end: a read of 0 bytes is the end.
Attempt Job::Receive(HINTERNET request, const inet::Answer& answer, uint64_t offset) {
    const uint64_t total = answer.hasLength ? offset + answer.length : 0;
    total_ = total;
    char buffer[kReadSize];
    for (;;) {
        DWORD got = 0;
        if (!inet::Read(request, buffer, sizeof buffer, got)) {
            const DWORD error = GetLastError();
            if (stop_) return Attempt::Cancelled;
            core::trace::Failure("InternetReadFile", target_, error);
            reason = SystemReason(error);
            return Attempt::Dropped;
        }
        if (stop_) return Attempt::Cancelled;
        if (got == 0) break;
        if (!Write(buffer, got)) return stop_ ? Attempt::Cancelled : Attempt::Fatal;
    }
    if (answer.hasLength && written_ != total) {
        reason = core::EnglishText(MessageId::DownloadReasonShort);
        return written_ < total ? Attempt::Dropped : Attempt::Fatal;
    }
    return Attempt::Done;
}

bool Job::Write(const char* data, DWORD size) {
    std::lock_guard<std::mutex> lock(lock_);
    if (aborted_) return false;
    DWORD done = 0;
    if (!WriteFile(file_, data, size, &done, nullptr) || done != size) {
        const DWORD error = GetLastError();
        core::trace::Failure("WriteFile", target_, error);
        reason = core::FormatText(core::EnglishText(MessageId::DownloadReasonWrite),
                                  {core::trace::SystemErrorText(error)});
        return false;
    }
    written_ += size;
    done_ = written_;
    return true;
}

// Empties the file for a body that starts over.
bool Job::Restart() {
    std::lock_guard<std::mutex> lock(lock_);
    if (aborted_) return false;
    written_ = 0;
    done_ = 0;
    if (SetFilePointer(file_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && SetEndOfFile(file_))
        return true;
    const DWORD error = GetLastError();
    core::trace::Failure("SetEndOfFile", target_, error);
    reason = core::FormatText(core::EnglishText(MessageId::DownloadReasonWrite), {core::trace::SystemErrorText(error)});
    return false;
}

DWORD WINAPI JobEntry(void* param) {
    std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(param));
    (*job)->Run();
    return 0;
}

// Shows the download bar for as long as it lives.
class DisplayScope {
public:
    explicit DisplayScope(ProgressDisplay* display) : display_(display) {
        if (display_) display_->ShowDownloadProgress();
    }
    ~DisplayScope() {
        if (display_) display_->HideDownloadProgress();
    }
    DisplayScope(const DisplayScope&) = delete;
    DisplayScope& operator=(const DisplayScope&) = delete;

private:
    ProgressDisplay* display_;
};

TransferOutcome Failure(const std::string& reason) { return {TransferResult::Failed, reason}; }

// Runs the job on its worker and watches it; true when the user cancelled.
bool Watch(const std::shared_ptr<Job>& job, HANDLE worker, ProgressDisplay* display,
           const std::function<bool()>& cancelRequested) {
    ProgressMeter meter;
    meter.Start(GetTickCount());
    while (WaitForSingleObject(worker, kPollMs) == WAIT_TIMEOUT) {
        if (cancelRequested && cancelRequested()) {
            job->Abort();
            WaitForSingleObject(worker, kAbandonMs);
            return true;
        }
        ProgressReport report;
        if (display && meter.Step(GetTickCount(), job->Done(), job->Total(), report))
            display->UpdateDownloadProgress(report);
    }
    return false;
}

}  // namespace

TransferOutcome DownloadFile(const TransferRequest& request, ProgressDisplay* display,
                             const std::function<bool()>& cancelRequested) {
    const WebAddress address = SplitAddress(request.address);
    if (!address.Usable() || request.badDigest) return Failure(core::EnglishText(MessageId::DownloadReasonAddress));

    auto job = std::make_shared<Job>(address, request.target);
    DisplayScope shown(display);
    auto* param = new std::shared_ptr<Job>(job);
    HANDLE worker = CreateThread(nullptr, 0, &JobEntry, param, 0, nullptr);
    if (!worker) {
        const DWORD error = GetLastError();
        delete param;
        core::trace::Failure("CreateThread (download)", error);
        return Failure(SystemReason(error));
    }
    const bool cancelled = Watch(job, worker, display, cancelRequested);
    CloseHandle(worker);
    if (cancelled || job->result == TransferResult::Cancelled) {
        DeleteFileA(request.target.c_str());
        return {TransferResult::Cancelled, std::string()};
    }
    TransferOutcome outcome{job->result, job->reason};
    if (outcome.result == TransferResult::Done && !request.sha256.empty() &&
        FileSha256Hex(request.target) != request.sha256)
        outcome = Failure(core::EnglishText(MessageId::DownloadReasonDigest));
    if (outcome.result != TransferResult::Done) DeleteFileA(request.target.c_str());
    return outcome;
}

}  // namespace download

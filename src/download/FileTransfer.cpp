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
#include "download/TransferJob.h"
#include "download/WebAddress.h"

namespace download {

namespace {

using core::MessageId;
using job::Job;

// The progress and the cancel are looked at this often while the worker runs.
constexpr DWORD kPollMs = 100;
// After a cancel, the worker is given this long to notice before it is left.
constexpr DWORD kAbandonMs = 2000;

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
    if (!address.Usable() || request.badDigest) {
        const TransferOutcome outcome = Failure(core::EnglishText(MessageId::DownloadReasonAddress));
        job::TraceFailure(request.address, 0, 0, outcome.reason);
        return outcome;
    }

    auto job = std::make_shared<Job>(address, job::Sink{request.target, 0}, "*/*", kRetries);
    DisplayScope shown(display);
    HANDLE worker = job::StartWorker(job);
    if (!worker) {
        const DWORD error = GetLastError();
        core::trace::Failure("CreateThread (download)", error);
        const TransferOutcome outcome = Failure(job::SystemReason(error));
        job::TraceFailure(request.address, 0, error, outcome.reason);
        return outcome;
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
    if (outcome.result != TransferResult::Done) {
        DeleteFileA(request.target.c_str());
        job::TraceFailure(request.address, job->status, outcome.result == TransferResult::Done ? 0 : job->error,
                          outcome.reason);
    }
    return outcome;
}

}  // namespace download

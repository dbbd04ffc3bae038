#include "download/FetchText.h"

#include <windows.h>

#include <memory>

#include "core/MessageWait.h"
#include "core/Messages.h"
#include "core/Trace.h"
#include "download/Internet.h"
#include "download/TransferJob.h"
#include "download/WebAddress.h"

namespace download {

namespace {

// The most of a document that is kept: the rest is not read.
constexpr size_t kMaxText = 64 * 1024;
// The deadline and the cancel are looked at this often.
constexpr DWORD kPollMs = 100;

}  // namespace

std::string FetchText(const std::string& address, const std::function<bool()>& cancelRequested) {
    using core::MessageId;
    const WebAddress where = SplitAddress(address);
    if (!where.Usable()) {
        job::TraceFailure(address, 0, 0, core::EnglishText(MessageId::DownloadReasonAddress));
        return std::string();
    }
    // No retries: a variable's default is there for a text that did not come.
    auto job = std::make_shared<job::Job>(where, job::Sink{std::string(), kMaxText}, "text/*", 0);
    HANDLE worker = job::StartWorker(job);
    if (!worker) {
        const DWORD error = GetLastError();
        core::trace::Failure("CreateThread (web text)", error);
        job::TraceFailure(address, 0, error, job::SystemReason(error));
        return std::string();
    }
    // A server that sends a byte now and then never lets a read time out:
    // the whole text has the receive time-out to arrive.
    const DWORD limit = inet::TimeoutMs();
    const DWORD start = GetTickCount();
    std::string givenUp;
    while (!core::WaitKeepingWindowsAlive(worker, kPollMs)) {
        if (cancelRequested && cancelRequested()) {
            givenUp = "cancelled";
            break;
        }
        if (GetTickCount() - start >= limit) {
            givenUp = core::FormatText(core::EnglishText(MessageId::DownloadReasonDeadline),
                                       {std::to_string((limit + 999) / 1000)});
            break;
        }
    }
    if (!givenUp.empty()) {
        // The worker is left to its next read or time-out and keeps nothing.
        job->Abort();
        CloseHandle(worker);
        job::TraceFailure(address, 0, 0, givenUp);
        return std::string();
    }
    CloseHandle(worker);
    if (job->result != TransferResult::Done) {
        job::TraceFailure(address, job->status, job->error, job->reason);
        return std::string();
    }
    return job->text;
}

}  // namespace download

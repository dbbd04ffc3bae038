#include "download/TransferJob.h"

#include <algorithm>

#include "core/Messages.h"
#include "core/Trace.h"
#include "core/TraceNames.h"

namespace download::job {

namespace {

using core::MessageId;

// Reads of this size: the file is written piece by piece, never held whole.
constexpr DWORD kReadSize = 1024;
// The pause before retry n is n times this, or a quarter of a (shortened) time-out.
constexpr DWORD kRetryPauseMs = 1000;
constexpr DWORD kPollMs = 100;

std::string Text(MessageId id) { return core::EnglishText(id); }

std::string WriteReason(DWORD error) {
    return core::FormatText(Text(MessageId::DownloadReasonWrite).c_str(), {core::trace::SystemErrorText(error)});
}

DWORD WINAPI JobEntry(void* param) {
    std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(param));
    (*job)->Run();
    return 0;
}

}  // namespace

std::string SystemReason(DWORD error) {
    return core::FormatText(Text(MessageId::DownloadReasonSystem).c_str(),
                            {inet::ErrorText(error), std::to_string(error)});
}

void TraceFailure(const std::string& address, DWORD status, DWORD error, const std::string& reason) {
    std::string codes;
    if (status) codes = "status " + std::to_string(status);
    if (error) codes += (codes.empty() ? "" : ", ") + std::string("error ") + std::to_string(error);
    std::string line = address + ": ";
    if (!codes.empty()) line += codes + ": ";
    // The reason may run over lines (a status's advice): the log keeps one line.
    for (size_t i = 0; i < reason.size(); ++i) {
        if (reason[i] == '\r' && i + 1 < reason.size() && reason[i + 1] == '\n') continue;
        line += reason[i] == '\r' || reason[i] == '\n' ? ' ' : reason[i];
    }
    core::trace::Value(core::tracenames::kDownloadFailed, line);
}

HANDLE StartWorker(const std::shared_ptr<Job>& job) {
    auto* param = new std::shared_ptr<Job>(job);
    HANDLE worker = CreateThread(nullptr, 0, &JobEntry, param, 0, nullptr);
    if (!worker) {
        const DWORD error = GetLastError();
        delete param;
        SetLastError(error);
    }
    return worker;
}

void Job::Run() {
    Transfer();
    std::lock_guard<std::mutex> lock(lock_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

Job::Attempt Job::Fail(const std::string& why, DWORD code, Attempt how) {
    reason = why;
    error = code;
    return how;
}

void Job::Transfer() {
    {
        // Others may delete the file while it is open: the waiter deletes a
        // cancelled transfer's file at once.
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) return;
        if (!sink_.file.empty()) {
            file_ = CreateFileA(sink_.file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file_ == INVALID_HANDLE_VALUE) {
                error = GetLastError();
                core::trace::Failure("CreateFile", sink_.file, error);
                reason = WriteReason(error);
                return;
            }
        }
        session_ = inet::OpenSession();
        if (!session_) {
            error = GetLastError();
            core::trace::Failure("InternetOpen", error);
            reason = SystemReason(error);
            return;
        }
    }
    Attempt outcome = Attempt::Dropped;
    for (int attempt = 0; attempt <= retries_ && outcome == Attempt::Dropped; ++attempt) {
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

// Sends one request of a transfer to `where`. Only the first attempt's
// failure to connect is final; later ones are the dropped connection coming
// back.
Job::Attempt Job::Send(const WebAddress& where, const std::string& headers, int attempt, HINTERNET& sent) {
    HINTERNET session;
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) return Attempt::Cancelled;
        session = session_;
    }
    // The handles are made outside the lock (a connection can take a while);
    // a cancel meanwhile closes them with the root.
    inet::Handle connection, request;
    DWORD failure = 0;
    const bool ok = inet::SendRequest(session, where, acceptType_, headers, connection, request, failure);
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (aborted_) {
            connection.Forget();
            request.Forget();
            return Attempt::Cancelled;
        }
        std::swap(connection_, connection);
        std::swap(request_, request);
        sent = request_.Get();
    }
    if (!ok) return Fail(SystemReason(failure), failure, attempt == 0 ? Attempt::Fatal : Attempt::Dropped);
    return Attempt::Done;
}

// One GET, through the redirects the rules allow: from the start, or from
// the bytes already written when the server takes ranges.
Job::Attempt Job::Request(int attempt) {
    const uint64_t offset = resumable_ ? written_ : 0;
    const std::string headers = offset ? "Range: bytes=" + std::to_string(offset) + "-\r\n" : std::string();
    WebAddress where = address_;
    HINTERNET sent = nullptr;
    inet::Answer answer;
    for (int hop = 0;; ++hop) {
        const Attempt sending = Send(where, headers, attempt, sent);
        if (sending != Attempt::Done) return sending;
        answer = inet::Answer();
        if (!inet::ReadAnswer(sent, answer)) {
            const DWORD failure = GetLastError();
            return Fail(SystemReason(failure), failure, Attempt::Fatal);
        }
        status = answer.status;
        if (!IsRedirectStatus(answer.status)) break;
        if (hop == kMaxRedirects) return Fail(Text(MessageId::DownloadReasonRedirects), 0, Attempt::Fatal);
        const Redirect next = ResolveRedirect(where, answer.location);
        if (next.verdict != RedirectVerdict::Follow) {
            const std::string shown = answer.location.empty() ? std::string("-") : answer.location;
            return Fail(core::FormatText(Text(MessageId::DownloadReasonRedirect).c_str(), {shown}), 0,
                        Attempt::Fatal);
        }
        core::trace::Value(core::tracenames::kDownloadRedirect,
                           AddressText(where) + " -> " + AddressText(next.target));
        CloseRequest();
        where = next.target;
    }
    if (answer.status != HTTP_STATUS_OK && answer.status != HTTP_STATUS_PARTIAL_CONTENT) {
        return Fail(core::FormatText(Text(MessageId::DownloadStatusFailed).c_str(), {std::to_string(answer.status)}),
                    0, Attempt::Fatal);
    }
    // The requests are HTTP/1.0: a chunked body, whose cut-off end would read
    // as its end, is an answer the setup cannot check.
    if (answer.transferEncoded) return Fail(Text(MessageId::DownloadReasonEncoded), 0, Attempt::Fatal);

    bool sized = answer.hasLength;
    uint64_t bodySize = answer.length;
    if (answer.status == HTTP_STATUS_PARTIAL_CONTENT) {
        // A part is only taken where it continues the bytes already written.
        ContentRange range;
        if (!offset || !ParseContentRange(answer.contentRange, range) ||
            !RangeContinues(range, offset, knownTotal_, answer.hasLength, answer.length))
            return Fail(Text(MessageId::DownloadReasonRange), 0, Attempt::Fatal);
        sized = true;
        bodySize = range.last - range.first + 1;
        knownTotal_ = range.last + 1;
    } else {
        // A whole file: whatever was written before starts over.
        if (written_ && !Restart()) return stop_ ? Attempt::Cancelled : Attempt::Fatal;
        knownTotal_ = answer.hasLength ? answer.length : 0;
        resumable_ = answer.acceptsRanges;
    }
    return Receive(sent, sized, bodySize, answer.status == HTTP_STATUS_PARTIAL_CONTENT ? offset : 0);
}

// The body, read with blocking reads to its end: a read of 0 bytes is the
// end; a text stops at its most.
Job::Attempt Job::Receive(HINTERNET request, bool sized, uint64_t bodySize, uint64_t offset) {
    const uint64_t total = sized ? offset + bodySize : 0;
    total_ = total;
    char buffer[kReadSize];
    for (;;) {
        if (sink_.file.empty() && text.size() >= sink_.maxText) return Attempt::Done;
        DWORD got = 0;
        if (!inet::Read(request, buffer, sizeof buffer, got)) {
            const DWORD failure = GetLastError();
            if (stop_) return Attempt::Cancelled;
            core::trace::Failure("InternetReadFile", AddressText(address_), failure);
            return Fail(SystemReason(failure), failure, Attempt::Dropped);
        }
        if (stop_) return Attempt::Cancelled;
        if (got == 0) break;
        if (!Write(buffer, got)) return stop_ ? Attempt::Cancelled : Attempt::Fatal;
    }
    if (sized && written_ != total)
        return Fail(Text(MessageId::DownloadReasonShort), 0, written_ < total ? Attempt::Dropped : Attempt::Fatal);
    return Attempt::Done;
}

bool Job::Write(const char* data, DWORD size) {
    std::lock_guard<std::mutex> lock(lock_);
    if (aborted_) return false;
    if (sink_.file.empty()) {
        const size_t room = sink_.maxText - std::min(sink_.maxText, text.size());
        text.append(data, std::min<size_t>(size, room));
    } else {
        DWORD done = 0;
        if (!WriteFile(file_, data, size, &done, nullptr) || done != size) {
            error = GetLastError();
            core::trace::Failure("WriteFile", sink_.file, error);
            reason = WriteReason(error);
            return false;
        }
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
    if (sink_.file.empty()) {
        text.clear();
        return true;
    }
    if (SetFilePointer(file_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER && SetEndOfFile(file_)) return true;
    error = GetLastError();
    core::trace::Failure("SetEndOfFile", sink_.file, error);
    reason = WriteReason(error);
    return false;
}

}  // namespace download::job

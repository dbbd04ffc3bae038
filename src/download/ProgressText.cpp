#include "download/ProgressText.h"

#include <cstdio>

#include "core/Messages.h"

namespace download {

namespace {

using core::MessageId;

constexpr uint32_t kRefreshMs = 1000;
constexpr uint64_t kKiB = 1024;
constexpr uint64_t kMiB = 1024 * 1024;

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Fill(MessageId id, const std::string& first, const std::string& second = "") {
    return FillNumbered(core::EnglishText(id), first, second);
}

}  // namespace

std::string FillNumbered(const char* format, const std::string& first, const std::string& second) {
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += p[1] == '1' ? first : second;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string FormatSize(uint64_t bytes) {
    if (bytes < kKiB) return Fill(MessageId::DownloadBytes, std::to_string(bytes));
    if (bytes < kMiB) return Fill(MessageId::DownloadKB, Printf("%0.1f", static_cast<double>(bytes) / kKiB));
    return Fill(MessageId::DownloadMB, Printf("%0.2f", static_cast<double>(bytes) / kMiB));
}

std::string FormatSpeed(double bytesPerMs) {
    if (bytesPerMs < 1) return Fill(MessageId::DownloadBytesPerSec, Printf("%0.0f", bytesPerMs * 1024));
    return Fill(MessageId::DownloadKBPerSec, Printf(bytesPerMs < 10 ? "%0.2f" : "%0.0f", bytesPerMs));
}

std::string FormatTimeLeft(uint64_t s, uint64_t done, uint64_t total) {
    const std::string counts = Fill(MessageId::DownloadOf, FormatSize(done), FormatSize(total));
    std::string time;
    if (s < 60) time = Fill(MessageId::DownloadSeconds, std::to_string(s));
    else if (s % 60 == 0) time = Fill(MessageId::DownloadMinutes, std::to_string(s / 60));
    else time = Fill(MessageId::DownloadMinutesSeconds, std::to_string(s / 60), std::to_string(s % 60));
    return Fill(MessageId::DownloadCopied, time, counts);
}

uint64_t SecondsLeft(uint32_t elapsedMs, uint64_t done, uint64_t total) {
    if (done == 0 || done >= total) return 0;
    const double seconds = static_cast<double>(elapsedMs) / static_cast<double>(done) *
                           static_cast<double>(total - done) * 0.001;
    return seconds >= static_cast<double>(kMaxSecondsLeft) ? kMaxSecondsLeft : static_cast<uint64_t>(seconds);
}

void ProgressMeter::Start(uint32_t nowMs) {
    start_ = last_ = nowMs;
    doneAtLast_ = 0;
    timeLeft_.clear();
}

bool ProgressMeter::Step(uint32_t nowMs, uint64_t done, uint64_t total, ProgressReport& report) {
    const uint32_t sinceLast = nowMs - last_;
    if (sinceLast <= kRefreshMs) return false;
    // A restarted transfer (a resume the server answered from the start)
    // counts from nothing again rather than at a negative speed.
    const uint64_t gained = done >= doneAtLast_ ? done - doneAtLast_ : done;
    const std::string speed = FormatSpeed(static_cast<double>(gained) / sinceLast);
    last_ = nowMs;
    doneAtLast_ = done;
    if (total == 0) {
        report.percent = -1;
        report.info = core::FormatText(core::EnglishText(MessageId::DownloadReceived), {FormatSize(done)}) + speed;
        return true;
    }
    report.percent = done >= total ? 100 : static_cast<int>(static_cast<double>(done) * 100 / total);
    // Before the first byte there is no rate to tell the time by: the last
    // estimate (none at first) stays.
    if (done != 0) timeLeft_ = FormatTimeLeft(SecondsLeft(nowMs - start_, done, total), done, total);
    report.info = core::FormatText(core::EnglishText(MessageId::DownloadEstimate), {timeLeft_}) + speed;
    return true;
}

}  // namespace download

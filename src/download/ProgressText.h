// What the download display shows: sizes, times and speeds in the setup's
// formats, and the meter that turns a transfer's byte counts into the bar's
// percentage and the info line at most once a second. Portable rules.
#pragma once

#include <cstdint>
#include <string>

namespace download {

// Fills "%1" and "%2" of a display format in one pass; a "%1" or "%2" inside
// an argument stays as it is.
std::string FillNumbered(const char* format, const std::string& first, const std::string& second = "");

// "1023 Bytes", "1.5 KB", "1024.0 KB", "1.00 MB".
std::string FormatSize(uint64_t bytes);

// `bytesPerMs` shown as KB per second: "512 Bytes/Sec" below 1, "2.50 KB/Sec"
// below 10, "13 KB/Sec" from 10.
std::string FormatSpeed(double bytesPerMs);

// "2 min 5 sec (1.5 KB of 3.00 MB copied)": the time left and the counts.
std::string FormatTimeLeft(uint64_t seconds, uint64_t done, uint64_t total);

// The longest time left the display shows: a larger estimate (a transfer
// that has barely started) is shown as this.
constexpr uint64_t kMaxSecondsLeft = 99 * 3600 + 59 * 60 + 59;

// Seconds left at the rate so far: elapsed / done × (total − done), 0 when
// done reaches the total, capped at kMaxSecondsLeft; 0 before any byte.
uint64_t SecondsLeft(uint32_t elapsedMs, uint64_t done, uint64_t total);

// One refresh of the display.
struct ProgressReport {
    int percent = -1;   // 0 to 100; -1 when the size is unknown (the bar stays)
    std::string info;   // the whole "IDC_INFO" text
};

// Follows one transfer: Step() answers a report when more than a second has
// passed since the last one (or since Start). Times are milliseconds of a
// clock that may wrap.
class ProgressMeter {
public:
    void Start(uint32_t nowMs);
    // `total` 0: the size is unknown; the line then shows the bytes received.
    bool Step(uint32_t nowMs, uint64_t done, uint64_t total, ProgressReport& report);

private:
    uint32_t start_ = 0;
    uint32_t last_ = 0;
    uint64_t doneAtLast_ = 0;
    std::string timeLeft_;  // the last estimate shown
};

}  // namespace download

// Progress bars repaint on every move: with thousands of small files that
// costs more than the work they show. A bar fed through this moves at most
// once per interval, except for its first and last positions.
#pragma once

#include <cstdint>

namespace util {

class ProgressThrottle {
public:
    explicit ProgressThrottle(uint32_t intervalMs = 40) : interval_(intervalMs) {}

    void SetRange(int range) { range_ = range; }
    // Whether `position` should be shown now (`nowMs`: a millisecond clock).
    bool Due(int position, uint32_t nowMs) {
        if (position != 0 && position < range_ && started_ && nowMs - last_ < interval_) return false;
        started_ = true;
        last_ = nowMs;
        return true;
    }

private:
    uint32_t interval_;
    uint32_t last_ = 0;
    int range_ = 0;
    bool started_ = false;
};

}  // namespace util

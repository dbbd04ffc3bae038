#include "core/SettingsRules.h"

#include <climits>
#include <cstring>

namespace core::settings {

bool IsYes(const char* value) { return value && std::strcmp(value, "Yes") == 0; }

bool IsNotNo(const char* value) { return !value || std::strcmp(value, "No") != 0; }

int ParseNumber(const char* value) {
    if (!value) return 0;
    const char* p = value;
    // Leading white space is skipped, as the C library's number reading does.
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT_MAX) return INT_MAX;
    if (n < INT_MIN) return INT_MIN;
    return static_cast<int>(n);
}

std::string ListKey(const char* letter, int index) {
    return std::string(letter) + std::to_string(index);
}

}  // namespace core::settings

// The double-buffered reader under any ring size and any sequence of request
// lengths: it hands out the stream's bytes exactly once, in order.
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "crypt/DoubleBuffering.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const int ringSize = 2 * (1 + input.Byte() % 64);
    const int defaultLength = 1 + input.Byte() % (ringSize / 2);
    std::vector<int> requests;
    const int count = input.Byte() % 16;
    for (int i = 0; i < count; ++i) requests.push_back(int(input.Byte() % (ringSize / 2 + 2)) - 1);
    requests.push_back(-1);  // at least one request that moves on
    const std::string stream = input.Rest();

    std::istringstream in(stream);
    std::vector<char> ring(ringSize);
    std::string got;
    try {
        CDoubleBuffering reader(in, ring.data(), ringSize, defaultLength);
        std::vector<char> out(ringSize);
        const size_t limit = (stream.size() + 2) * 17;  // zero-length requests make no progress
        for (size_t i = 0; got.size() <= stream.size(); ++i) {
            if (i > limit) __builtin_trap();  // the reader stopped handing out bytes
            const int want = requests[i % requests.size()];
            int n;
            try {
                n = reader.GetData(out.data(), want);
            } catch (const std::runtime_error&) {
                if (want != 0) __builtin_trap();  // only bad lengths are refused
                continue;
            }
            if (n < 0 || n > ringSize / 2) __builtin_trap();
            if (n == 0) break;
            got.append(out.data(), n);
        }
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (got != stream) __builtin_trap();
    return 0;
}

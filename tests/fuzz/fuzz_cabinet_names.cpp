// Stored names of cabinet entries: the name a file is written under must stay
// inside the extraction folder, and joining never overruns its buffer.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "cabinet/CabinetNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const unsigned codePage = fuzz::CodePageOf(input.Byte());
    const size_t outSize = input.Byte();
    const std::string folder = input.Until('\0');
    const std::string stored = input.Rest();

    const std::string bare = cabinet::BareName(stored, codePage);
    const std::string out = cabinet::OutputName(stored, codePage);
    if (!out.empty()) {
        if (!cabinet::IsSafeOutputName(out, codePage)) __builtin_trap();
        if (out == ".." || out.find(':') != std::string::npos) __builtin_trap();
    }
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    if (cabinet::JoinBounded(buffer, outSize, folder.c_str(), out.c_str())) {
        if (std::strlen(buffer) >= outSize) __builtin_trap();
    }
    for (size_t i = outSize; i < sizeof buffer; ++i)
        if (buffer[i] != 'x') __builtin_trap();  // written past the size it was given
    return 0;
}

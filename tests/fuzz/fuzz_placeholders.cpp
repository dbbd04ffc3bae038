// Placeholder expansion with hostile variables: names that are empty, that
// contain each other or placeholders, values that repeat their own name. The
// result stays within its cap and the expansion ends.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "core/Placeholders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    core::PlaceholderValues values;
    values.installDir = input.Until('\x01');
    values.productName = input.Until('\x01');
    values.tempFolder = "C:\\Temp\\";
    values.windowsFolder = "C:\\windows";
    const int count = input.Byte() % 60;
    for (int i = 0; i < count && !input.Empty(); ++i) {
        core::PlaceholderVariable v;
        v.name = input.Until('\x02');
        v.value = input.Until('\x02');
        // A value made long by repetition, as a variable read from the web can be.
        const int repeat = input.Byte() % 8;
        for (int r = 0; r < repeat && v.value.size() < 20000; ++r) v.value += v.value + v.name;
        values.variables.push_back(v);
    }
    const std::string text = input.Rest();
    const std::string a = core::ExpandSetupText(text, values);
    const std::string b = core::ExpandEngineText(text, values, values.installDir, "C:\\Program Files\\X\\");
    if (a.size() > core::kMaxExpandedLength || b.size() > core::kMaxExpandedLength) __builtin_trap();
    return 0;
}

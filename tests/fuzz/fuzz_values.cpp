// The small values of layouts: colours, numbers, fields of a control line,
// braces, file names beside the layout, property entries and alignments.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "skin/ColorText.h"
#include "skin/LayoutValues.h"

namespace layout = skin::layout;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const std::string a = input.Until('\n');
    const std::string b = input.Rest();

    const layout::Rgb c = layout::ParseColor(a);
    if (c.red < 0 || c.red > 255 || c.green < 0 || c.green > 255 || c.blue < 0 || c.blue > 255)
        __builtin_trap();
    if (!(layout::ParseColor(layout::FormatColor(c)) == c)) __builtin_trap();
    layout::NamesButtonFace(a);
    layout::ResolveBackground(a, layout::Rgb{236, 233, 216});
    layout::ResolveTextColor(a);

    layout::Number(a);
    if (layout::SplitFields(b).size() > layout::kMaxControlFields) __builtin_trap();
    layout::RemoveBraces(a);
    const std::string folder = layout::FolderOf(b);
    if (folder.size() > b.size()) __builtin_trap();
    layout::FileInFolder(a, folder);
    const layout::PropertyEntry e = layout::SplitPropertyEntry(a, folder);
    layout::ClickCode({e});
    layout::AlignmentWord(a);
    layout::IsYes(a);
    layout::IsNotNo(a);
    return 0;
}

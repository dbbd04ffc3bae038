// A layout file (.lcd): window settings, control lines and their property
// entries, loaded into a page's control table as the page does.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/ControlTable.h"
#include "skin/LayoutFile.h"
#include "skin/LayoutLoader.h"
#include "skin/LayoutValues.h"
#include "skin/MemoryIniSource.h"

namespace layout = skin::layout;

namespace {

class Factory : public layout::ControlFactory {
public:
    void CreateControl(layout::ControlRecord& record, const layout::ControlLine& line) override {
        // As a picture control takes its picture's size: a picture is at
        // most 65535 pixels wide, the line's width is whatever it says.
        record.rect.right = record.rect.left + (line.Width() & 0xFFFF);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const skin::MemoryIniSource ini(std::string(reinterpret_cast<const char*>(data), size));
    const layout::LayoutFile file(ini, "C:\\theme\\page.lcd");
    const layout::WindowSettings window = file.ReadWindow();
    layout::Number(window.width);
    layout::IsYes(window.fontBold);
    file.FirstPropertyValue(layout::kCaption);
    // The page reads every line and its entries through LoadControls; the
    // first line's picture and click code are what the page asks besides.
    const std::vector<int> keys = file.LineKeysLastFirst();
    if (!keys.empty()) {
        const layout::ControlLine line = file.ReadControlLine(keys.back());
        if (line.fields.size() > layout::kMaxControlFields) __builtin_trap();
        file.ImageFile(line);
        const auto entries = file.ReadEntries(line.ControlNumber());
        if (entries.size() > layout::kMaxPropertyEntries) __builtin_trap();
        layout::ClickCode(entries);
    }
    layout::ControlTable table;
    Factory factory;
    layout::LoadControls(file, table, factory);
    if (table.Size() > static_cast<size_t>(layout::kMaxControls)) __builtin_trap();
    return 0;
}

#include "skin/LayoutLoader.h"

namespace skin::layout {

void LoadControls(const LayoutFile& layout, ControlTable& table, ControlFactory& factory) {
    table.Clear();
    for (int key : layout.LineKeysLastFirst()) {
        if (table.Full()) break;
        ControlLine line = layout.ReadControlLine(key);
        ControlKind kind = KindFromKeyword(line.Kind());
        if (kind == ControlKind::kNone) continue;
        ControlRecord* record =
            table.Add(kind, ScaleForDpi(LineRect(line.Left(), line.Top(), line.Width(), line.Height()),
                                        factory.Dpi()));
        if (!record) continue;
        record->lineKey = key;
        record->controlNumber = line.ControlNumber();
        factory.CreateControl(*record, line);
        record->entries = layout.ReadEntries(line.ControlNumber());
    }
}

}  // namespace skin::layout

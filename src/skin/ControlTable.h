// The control records of one page: kind, name, window identifier, rectangle,
// index within the kind's table and property entries. Identifiers run from
// 3000 upward in creation order; each new record goes to the front, so with
// lines created last to first the table ends in file order.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "skin/ControlKinds.h"
#include "skin/LayoutValues.h"

namespace skin::layout {

constexpr int kFirstControlId = 3000;
constexpr int kLastCommandId = 3030;  // commands are handled from 3000 to here
constexpr int kMaxControls = 70;      // controls on one page
constexpr int kMaxPerKindTable = 15;  // controls of one kind table (BITMAP with HOVER)

// Coordinates of a control line are kept within this range so that the
// rectangle arithmetic cannot overflow whatever numbers a line holds.
constexpr int kCoordinateLimit = 1000000;

struct ControlRecord {
    ControlKind kind = ControlKind::kNone;
    std::string keyword;
    std::string name;         // generated, then entry 0 for most kinds
    std::string defaultText;  // the window text at creation
    int id = 0;
    Rect rect;
    int kindIndex = 0;        // 0..14 within the kind's table
    int lineKey = 0;          // the INFO key of its control line
    int controlNumber = 0;    // the line's field 8: the DADOS keys of its entries
    std::vector<PropertyEntry> entries;  // at most kMaxPropertyEntries

    // The value of the entry at `position`, or the empty text.
    const std::string& Entry(size_t position) const;
};

// The rectangle of a control line: (left, top, left + width, top + height),
// every coordinate kept within +-kCoordinateLimit.
Rect LineRect(int left, int top, int width, int height);

class ControlTable {
public:
    void Clear();

    // Adds the record of a new control of `kind` at the front of the table,
    // with the next identifier, the generated name and default text and the
    // minimum-size rule applied to `rect`. Returns nullptr, adding nothing,
    // when the kind is kNone, the page holds kMaxControls controls or the
    // kind's table holds kMaxPerKindTable.
    ControlRecord* Add(ControlKind kind, const Rect& rect);

    // True when no further control of any kind fits.
    bool Full() const { return static_cast<int>(records_.size()) >= kMaxControls; }

    // The identifier of the first record whose name equals `name` exactly, or -1.
    int FindByName(const std::string& name) const;
    // The index of the first record with identifier `id`, or -1.
    int FindById(int id) const;

    size_t Size() const { return records_.size(); }
    ControlRecord& At(size_t i) { return records_[i]; }
    const ControlRecord& At(size_t i) const { return records_[i]; }
    int NextId() const { return nextId_; }

    // Commands reach the page only from identifiers 3000 to 3030.
    static bool HandlesCommand(int id) { return id >= kFirstControlId && id <= kLastCommandId; }

private:
    std::vector<ControlRecord> records_;
    std::array<int, kKindCount> kindCounts_{};
    int nextId_ = kFirstControlId;
};

}  // namespace skin::layout

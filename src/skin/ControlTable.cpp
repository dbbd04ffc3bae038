#include "skin/ControlTable.h"

namespace skin::layout {

namespace {

int Clamp(long long v) {
    if (v > kCoordinateLimit) return kCoordinateLimit;
    if (v < -kCoordinateLimit) return -kCoordinateLimit;
    return static_cast<int>(v);
}

}  // namespace

const std::string& ControlRecord::Entry(size_t position) const {
    static const std::string kEmpty;
    return position < entries.size() ? entries[position].value : kEmpty;
}

Rect LineRect(int left, int top, int width, int height) {
    int l = Clamp(left), t = Clamp(top);
    return Rect{l, t, Clamp(static_cast<long long>(l) + Clamp(width)),
                Clamp(static_cast<long long>(t) + Clamp(height))};
}

void ControlTable::Clear() {
    records_.clear();
    kindCounts_.fill(0);
    nextId_ = kFirstControlId;
}

ControlRecord* ControlTable::Add(ControlKind kind, const Rect& rect) {
    if (kind == ControlKind::kNone || Full()) return nullptr;
    int& kindCount = kindCounts_[KindTable(kind)];
    if (kindCount >= kMaxPerKindTable) return nullptr;
    const KindInfo& info = Info(kind);
    ControlRecord record;
    record.kind = kind;
    record.keyword = info.keyword;
    record.name = FormatWithCount(info.nameFormat, kindCount);
    record.defaultText = FormatWithCount(info.defaultText, kindCount);
    record.id = nextId_++;
    record.rect = ApplyMinimumSize(kind, rect);
    record.kindIndex = kindCount++;
    records_.insert(records_.begin(), std::move(record));
    return &records_.front();
}

int ControlTable::FindByName(const std::string& name) const {
    for (const ControlRecord& r : records_)
        if (r.name == name) return r.id;
    return -1;
}

int ControlTable::FindById(int id) const {
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].id == id) return static_cast<int>(i);
    return -1;
}

}  // namespace skin::layout

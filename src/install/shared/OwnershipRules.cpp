#include "install/shared/OwnershipRules.h"

#include "install/shared/UndoRules.h"

namespace install::ownership {

EarlierRecords::EarlierRecords(const std::vector<core::LogRecord>& records, unsigned codePage)
    : codePage_(codePage) {
    for (const core::LogRecord& r : records)
        if (r.kind != core::LogKind::Unknown && !core::IsHeaderKind(r.kind)) owned_.insert(KeyOf(r.kind, r.value));
}

bool EarlierRecords::Owns(core::LogKind kind, const std::string& value) const {
    return !owned_.empty() && owned_.count(KeyOf(kind, value)) > 0;
}

// The kind's key, then the value as folders compare (a trailing backslash
// or a letter's case makes no other path).
std::string EarlierRecords::KeyOf(core::LogKind kind, const std::string& value) const {
    return std::string(core::KeyOf(kind)) + "=" + undorules::ComparableFolder(value, codePage_);
}

}  // namespace install::ownership

#include "core/FeatureTable.h"

#include "util/Text.h"

namespace core {

bool FeatureTable::Add(const std::string& name) {
    if (m_entries.size() >= kCapacity) return false;
    m_entries.push_back({name, kFeatureInstall});
    return true;
}

void FeatureTable::SetState(size_t index, int32_t state) {
    if (index < m_entries.size()) m_entries[index].state = state;
}

int FeatureTable::Find(const std::string& name) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].name == name) return static_cast<int>(i);
    return -1;
}

bool FeatureTable::IsExcluded(const std::string& recordFeature) const {
    if (recordFeature.empty()) return false;
    int i = Find(util::text::ReplaceAll(recordFeature, "|", ""));
    return i >= 0 && m_entries[static_cast<size_t>(i)].state != 0;
}

}  // namespace core

// The features of the setup types with their states: all installed until the
// custom setup page excludes some. Lives for the whole run; the file phase
// asks it whether a record's feature is excluded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

constexpr int32_t kFeatureInstall = 0;
constexpr int32_t kFeatureExcluded = 255;

// The setup type's features with their states, at most kCapacity names.
class FeatureTable {
public:
    static constexpr size_t kCapacity = 100;

    // Appends a feature with state kFeatureInstall; false (nothing added)
    // when the table is full.
    bool Add(const std::string& name);
    size_t Size() const { return m_entries.size(); }
    const std::string& Name(size_t index) const { return m_entries[index].name; }
    int32_t State(size_t index) const { return m_entries[index].state; }
    // Out-of-range indices are ignored.
    void SetState(size_t index, int32_t state);
    // Index of the first feature of that exact name, or -1.
    int Find(const std::string& name) const;
    void Clear() { m_entries.clear(); }

    // The feature rule of a record: true when FEATURE is not empty and, with
    // every "|" removed, names a feature of the table whose state is not 0,
    // so the file is not copied. A name missing from the table is installed.
    bool IsExcluded(const std::string& recordFeature) const;

private:
    struct Entry {
        std::string name;
        int32_t state;
    };
    std::vector<Entry> m_entries;
};

}  // namespace core

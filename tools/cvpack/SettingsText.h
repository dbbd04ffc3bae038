// setup.inf read as the setup's profile reader reads it, keeping the line of
// every section and key so that an author can be told where a mistake is.
#pragma once

#include <string>
#include <vector>

struct SettingsEntry {
    std::string key;    // trimmed
    std::string value;  // trimmed, one pair of matching quotes removed
    int line = 0;
};

struct SettingsSection {
    std::string name;
    int line = 0;
    std::vector<SettingsEntry> entries;  // every key as written, repeated ones too
};

struct SettingsText {
    std::vector<SettingsSection> sections;  // repeated sections too, in order
    std::vector<int> strayLines;            // neither a section, a key, a comment nor blank

    // The first section of this name (names compare without case), or null:
    // the one the setup reads.
    const SettingsSection* Find(const std::string& name) const;
    // The first entry of `key` in the first section `section`, or null.
    const SettingsEntry* Entry(const std::string& section, const std::string& key) const;
    // Its value, or empty.
    std::string Value(const std::string& section, const std::string& key) const;
};

SettingsText ParseSettingsText(const std::string& text);

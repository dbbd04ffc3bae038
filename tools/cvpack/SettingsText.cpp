#include "SettingsText.h"

#include "util/Text.h"

namespace {

std::string Trimmed(const std::string& s) {
    const char* blanks = " \t\r\n";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The profile reader removes one pair of matching quotes around a value.
std::string WithoutQuotes(const std::string& s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

SettingsText ParseSettingsText(const std::string& text) {
    SettingsText parsed;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (int line = 1; start <= text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string raw = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (raw.empty() || raw[0] == ';') continue;
        if (raw[0] == '[') {
            const size_t close = raw.find(']');
            if (close != std::string::npos) {
                parsed.sections.push_back({Trimmed(raw.substr(1, close - 1)), line, {}});
                continue;
            }
        }
        const size_t equals = raw.find('=');
        if (equals == std::string::npos || parsed.sections.empty()) {
            parsed.strayLines.push_back(line);
            continue;
        }
        parsed.sections.back().entries.push_back(
            {Trimmed(raw.substr(0, equals)), WithoutQuotes(Trimmed(raw.substr(equals + 1))), line});
    }
    return parsed;
}

const SettingsSection* SettingsText::Find(const std::string& name) const {
    for (const SettingsSection& section : sections)
        if (util::text::EqualsIgnoringAsciiCase(section.name, name)) return &section;
    return nullptr;
}

const SettingsEntry* SettingsText::Entry(const std::string& section, const std::string& key) const {
    const SettingsSection* found = Find(section);
    if (!found) return nullptr;
    for (const SettingsEntry& entry : found->entries)
        if (util::text::EqualsIgnoringAsciiCase(entry.key, key)) return &entry;
    return nullptr;
}

std::string SettingsText::Value(const std::string& section, const std::string& key) const {
    const SettingsEntry* entry = Entry(section, key);
    return entry ? entry->value : std::string();
}

#include "skin/MemoryIniSource.h"

#include <cctype>

#include "util/Text.h"

namespace skin {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::string Unquote(const std::string& s) {
    if (s.size() >= 2 && (s[0] == '"' || s[0] == '\'') && s.back() == s[0])
        return s.substr(1, s.size() - 2);
    return s;
}

bool SameName(const std::string& a, const std::string& b) { return util::text::EqualsIgnoringAsciiCase(a, b); }

}  // namespace

MemoryIniSource::MemoryIniSource(const std::string& text) {
    Section* current = nullptr;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos
                                                                              : close - 1));
            sections_.push_back(Section{name, {}});
            current = &sections_.back();
            continue;
        }
        size_t eq = line.find('=');
        if (!current || eq == std::string::npos) continue;
        current->keys.emplace_back(Trim(line.substr(0, eq)), Unquote(Trim(line.substr(eq + 1))));
    }
}

const MemoryIniSource::Section* MemoryIniSource::Find(const std::string& section) const {
    for (const Section& s : sections_)
        if (SameName(s.name, section)) return &s;
    return nullptr;
}

std::string MemoryIniSource::Read(const std::string& section, const std::string& key,
                                  size_t bufferSize) const {
    const Section* s = Find(section);
    if (!s || bufferSize == 0) return "";
    for (const auto& kv : s->keys)
        if (SameName(kv.first, key)) return kv.second.substr(0, bufferSize - 1);
    return "";
}

std::vector<std::string> MemoryIniSource::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    if (const Section* s = Find(section))
        for (const auto& kv : s->keys) names.push_back(kv.first);
    return names;
}

}  // namespace skin

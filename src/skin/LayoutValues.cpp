#include "skin/LayoutValues.h"

#include "core/SettingsRules.h"

namespace skin::layout {

int Number(const std::string& text) { return core::settings::ParseNumber(text.c_str()); }

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (fields.size() < kMaxControlFields) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) {
            fields.push_back(line.substr(start));
            break;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

std::string RemoveBraces(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '{' && c != '}') out += c;
    return out;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileInFolder(const std::string& value, const std::string& layoutFolder) {
    return layoutFolder + RemoveBraces(value);
}

PropertyEntry SplitPropertyEntry(const std::string& raw, const std::string& layoutFolder) {
    PropertyEntry entry;
    size_t first = raw.find('|');
    entry.name = raw.substr(0, first);
    if (first == std::string::npos) return entry;
    size_t second = raw.find('|', first + 1);
    entry.value = raw.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                     : second - first - 1);
    if (second != std::string::npos) {
        std::string type;
        for (size_t i = second + 1; i < raw.size(); ++i)
            if (raw[i] != '|') type += raw[i];
        entry.type = Number(type);
    }
    if (entry.value.find('{') != std::string::npos)
        entry.value = FileInFolder(entry.value, layoutFolder);
    return entry;
}

int ClickCode(const std::vector<PropertyEntry>& entries) {
    int code = 0;
    for (const PropertyEntry& e : entries) {
        if (e.name != "On Click" && e.name != "Mouse Click") continue;
        if (e.value.empty()) return 0;
        size_t dash = e.value.find('-');
        code = dash == std::string::npos ? 0 : Number(e.value.substr(0, dash));
    }
    return code;
}

std::string AlignmentWord(const std::string& textAlign) {
    if (textAlign.empty()) return "";
    switch (textAlign[0]) {
    case '0': return "Center";
    case '1': return "Left";
    case '2': return "Right";
    default: return "";
    }
}

bool IsYes(const std::string& value) { return value == "Yes"; }

bool IsNotNo(const std::string& value) { return value != "No"; }

}  // namespace skin::layout

#include "install/shared/SystemSettingRules.h"

#include <cctype>
#include <cstddef>
#include <vector>

#include "util/Text.h"

namespace install::systemrules {

namespace {

constexpr char kIniTreePrefix[] = "INI Files\\";

}  // namespace

std::string IniFileName(const std::string& treeName) {
    std::string name = util::text::WithoutTrailingBackslashes(treeName);
    const std::string prefix = kIniTreePrefix;
    for (size_t at; (at = name.find(prefix)) != std::string::npos;) name.erase(at, prefix.size());
    return name;
}

std::optional<IniEntryPath> SplitIniEntryPath(const std::string& treePath) {
    const std::string path = util::text::WithoutTrailingBackslashes(treePath);
    const size_t afterRoot = path.find('\\');
    if (afterRoot == std::string::npos) return std::nullopt;
    const size_t afterFile = path.find('\\', afterRoot + 1);
    if (afterFile == std::string::npos) return std::nullopt;
    const size_t afterSection = path.find('\\', afterFile + 1);
    IniEntryPath parts;
    parts.file = path.substr(afterRoot + 1, afterFile - afterRoot - 1);
    if (afterSection == std::string::npos) {
        parts.section = path.substr(afterFile + 1);
    } else {
        parts.section = path.substr(afterFile + 1, afterSection - afterFile - 1);
        parts.key = path.substr(afterSection + 1);
    }
    if (parts.section.empty()) return std::nullopt;
    return parts;
}

std::optional<ValueType> ParseValueType(const std::string& text) {
    if (text == "0" || text == "String") return ValueType::String;
    if (text == "1" || text == "DWORD") return ValueType::DWord;
    if (text == "2" || text == "Binary") return ValueType::Binary;
    return std::nullopt;
}

uint32_t ParseDoubleWord(const std::string& text) {
    constexpr long long kLowest = -2147483648LL, kHighest = 4294967295LL;
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long magnitude = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        if (magnitude <= kHighest) magnitude = magnitude * 10 + (text[i] - '0');
    long long value = negative ? -magnitude : magnitude;
    if (value < kLowest) value = kLowest;
    if (value > kHighest) value = kHighest;
    return static_cast<uint32_t>(value);
}

bool ListHasItem(const std::string& list, const std::string& item) {
    size_t start = 0;
    for (;;) {
        const size_t end = list.find(';', start);
        const std::string part = list.substr(start, end == std::string::npos ? end : end - start);
        if (util::text::EqualsIgnoringAsciiCase(part, item)) return true;
        if (end == std::string::npos) return false;
        start = end + 1;
    }
}

std::optional<std::string> AppendItem(const std::string& current, const std::string& item) {
    if (!current.empty() && ListHasItem(current, item)) return std::nullopt;
    return current + ";" + item;
}

std::optional<std::string> RemoveItem(const std::string& current, const std::string& item) {
    std::vector<std::string> items;
    for (size_t start = 0;;) {
        const size_t end = current.find(';', start);
        items.push_back(current.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    size_t found = items.size();
    for (size_t i = items.size(); i-- > 0;)
        if (util::text::EqualsIgnoringAsciiCase(items[i], item)) {
            found = i;
            break;
        }
    if (found == items.size()) return std::nullopt;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(found));
    std::string rest;
    bool onlyEmpty = true;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) rest += ';';
        rest += items[i];
        onlyEmpty = onlyEmpty && items[i].empty();
    }
    return onlyEmpty ? std::string() : rest;
}

}  // namespace install::systemrules

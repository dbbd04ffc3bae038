#include "skin/LayoutFile.h"

#include <algorithm>

namespace skin::layout {

namespace {

const char kMainWindow[] = "MAINWINDOW";
const char kInfo[] = "INFO";

const char* const kWindowKeys[kWindowPropertyCount] = {
    "idcname", "caption", "bkcolor", "border", "bkimage",
    "soundfile", "startup", "minwindow", "maxwindow", "closewindow"};

// A key that names line `key` exactly as "%i" writes it: decimal digits, no
// sign, no leading zero (other spellings are other keys).
bool IsLineKey(const std::string& name, int total, int* key) {
    if (name.empty() || name.size() > 10) return false;
    if (name.size() > 1 && name[0] == '0') return false;
    long long n = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n >= total) return false;
    *key = static_cast<int>(n);
    return true;
}

}  // namespace

std::string PropertyEntryKey(int lineIndex, int entry) {
    return (lineIndex <= 9 ? "300" : "30") + std::to_string(lineIndex) + "," + std::to_string(entry);
}

const char* WindowPropertyKey(int index) {
    return index >= 0 && index < kWindowPropertyCount ? kWindowKeys[index] : "";
}

const std::string& ControlLine::Field(size_t i) const {
    static const std::string kEmpty;
    return i < fields.size() ? fields[i] : kEmpty;
}

LayoutFile::LayoutFile(const IniSource& source, const std::string& path)
    : source_(source), path_(path), folder_(FolderOf(path)) {}

std::string LayoutFile::Read(const char* section, const std::string& key) const {
    return source_.Read(section, key, kValueBufferSize);
}

WindowSettings LayoutFile::ReadWindow() const {
    WindowSettings w;
    for (int i = 0; i < kWindowPropertyCount; ++i) w.properties[i] = Read(kMainWindow, kWindowKeys[i]);
    w.properties[kBkImage] = RemoveBraces(w.properties[kBkImage]);
    w.properties[kSoundFile] = RemoveBraces(w.properties[kSoundFile]);
    w.width = Read(kMainWindow, "width");
    w.height = Read(kMainWindow, "height");
    w.fontName = Read(kMainWindow, "fontname");
    w.fontSize = Read(kMainWindow, "fontsize");
    w.fontBold = Read(kMainWindow, "fontbold");
    w.fontItalic = Read(kMainWindow, "fontitalic");
    return w;
}

int LayoutFile::ControlCount() const {
    return Number(source_.Read(kInfo, "TOTAL", kCountBufferSize));
}

std::vector<int> LayoutFile::LineKeysLastFirst() const {
    std::vector<int> keys;
    int total = ControlCount();
    if (total <= 0) return keys;
    for (const std::string& name : source_.KeyNames(kInfo)) {
        int key;
        if (IsLineKey(name, total, &key)) keys.push_back(key);
    }
    std::sort(keys.begin(), keys.end(), [](int a, int b) { return a > b; });
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

ControlLine LayoutFile::ReadControlLine(int key) const {
    ControlLine line;
    line.key = key;
    line.fields = SplitFields(Read(kInfo, std::to_string(key)));
    return line;
}

std::string LayoutFile::ImageFile(const ControlLine& line) const {
    return FileInFolder(line.Field(6), folder_);
}

std::vector<PropertyEntry> LayoutFile::ReadEntries(int controlNumber) const {
    std::vector<PropertyEntry> entries;
    const std::string prefix = std::to_string(controlNumber) + ",";
    int count = Number(Read(kPropertySection, prefix + "t"));
    int limit = std::min<int>(count, static_cast<int>(kMaxPropertyEntries));
    for (int i = 0; i < limit; ++i)
        entries.push_back(SplitPropertyEntry(Read(kPropertySection, prefix + std::to_string(i)), folder_));
    return entries;
}

std::string LayoutFile::FirstPropertyValue(int index) const {
    std::string raw = Read(kPropertySection, PropertyEntryKey(index, 0));
    size_t first = raw.find('|');
    if (first == std::string::npos) return "";
    size_t second = raw.find('|', first + 1);
    return raw.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

}  // namespace skin::layout

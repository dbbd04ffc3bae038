#include "core/UninstallLog.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace core {

namespace {

struct KindKey {
    LogKind kind;
    const char* key;
};

constexpr KindKey kKeys[] = {
#define CV_LOG_KIND_KEY(name, key, meaning) {LogKind::name, key},
    CV_LOG_KINDS(CV_LOG_KIND_KEY)
#undef CV_LOG_KIND_KEY
};

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The C runtime's mkdir takes the path's bytes as they are, so an ANSI path
// reaches the system unchanged; the standard library's path type would
// convert it through the C locale on Windows and misname non-ASCII folders.
// Failures (an existing level, a drive "C:") are left to the open that follows.
void MakeDirectory(const char* path) {
#ifdef _WIN32
    _mkdir(path);
#else
    mkdir(path, 0777);
#endif
}

// Makes every missing folder of the path, shortest first, taking both
// backslash and slash as separators on every system.
void MakeFolderChain(std::string folder) {
    for (size_t i = 1; i < folder.size(); ++i) {
        if (!IsSeparator(folder[i]) || IsSeparator(folder[i - 1])) continue;
        const char sep = folder[i];
        folder[i] = '\0';
        MakeDirectory(folder.c_str());
        folder[i] = sep;
    }
    MakeDirectory(folder.c_str());
}

// The text before the last separator; "" when the path names no folder.
std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

const std::vector<LogKind>& KnownLogKinds() {
    static const std::vector<LogKind> kinds = [] {
        std::vector<LogKind> all;
        for (const KindKey& k : kKeys) all.push_back(k.kind);
        return all;
    }();
    return kinds;
}

bool IsHeaderKind(LogKind kind) {
    return kind == LogKind::LogFormat || kind == LogKind::TotalFile || kind == LogKind::InstallDir ||
           kind == LogKind::UndoBy;
}

const char* KeyOf(LogKind kind) {
    for (const KindKey& k : kKeys)
        if (k.kind == kind) return k.key;
    return "";
}

LogKind KindOfKey(const std::string& key) {
    for (const KindKey& k : kKeys)
        if (key == k.key) return k.kind;
    return LogKind::Unknown;
}

LogRecord MakeLogRecord(LogKind kind, const std::string& value) {
    return LogRecord{kind, KeyOf(kind), value};
}

bool IsRepresentable(const LogRecord& record) {
    if (HasLineBreak(record.value)) return false;
    if (record.kind != LogKind::Unknown) return true;
    return !HasLineBreak(record.key) && record.key.find('=') == std::string::npos;
}

std::string FormatLogLine(const LogRecord& record) {
    if (!IsRepresentable(record)) return std::string();
    const std::string key = record.kind == LogKind::Unknown ? record.key : KeyOf(record.kind);
    return key + "=" + record.value + "\r\n";
}

bool ParseLogLine(const std::string& line, LogRecord& out) {
    size_t end = line.size();
    if (end > 0 && line[end - 1] == '\n') --end;
    if (end > 0 && line[end - 1] == '\r') --end;
    if (end == 0) return false;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
        out = LogRecord{LogKind::Unknown, line.substr(0, end), std::string()};
        return true;
    }
    out.key = line.substr(0, eq);
    out.kind = KindOfKey(out.key);
    out.value = line.substr(eq + 1, end - eq - 1);
    return true;
}

std::vector<LogRecord> ParseUninstallLog(const std::string& text) {
    std::vector<LogRecord> records;
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        const size_t next = lf == std::string::npos ? text.size() : lf + 1;
        LogRecord record;
        if (ParseLogLine(text.substr(start, next - start), record))
            records.push_back(std::move(record));
        start = next;
    }
    return records;
}

std::optional<std::vector<LogRecord>> ReadUninstallLog(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string text;
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return ParseUninstallLog(text);
}

std::string FormatAppendedItem(const AppendedItem& item) {
    if (item.path.empty() || item.path.find('|') != std::string::npos) return std::string();
    return item.path + "|" + item.text;
}

bool ParseAppendedItem(const std::string& value, AppendedItem& out) {
    const size_t bar = value.find('|');
    if (bar == std::string::npos || bar == 0) return false;
    out.path = value.substr(0, bar);
    out.text = value.substr(bar + 1);
    return true;
}

std::string FormatOldValue(const OldValue& value) {
    if ((value.type != 1 && value.type != 2) || value.path.empty() ||
        value.path.find('|') != std::string::npos)
        return std::string();
    return std::to_string(value.type) + "|" + value.path + "|" + value.text;
}

bool ParseOldValue(const std::string& value, OldValue& out) {
    const size_t first = value.find('|');
    if (first == std::string::npos) return false;
    const size_t second = value.find('|', first + 1);
    if (second == std::string::npos || second == first + 1) return false;
    const std::string type = value.substr(0, first);
    if (type != "1" && type != "2") return false;
    out.type = type == "1" ? 1 : 2;
    out.path = value.substr(first + 1, second - first - 1);
    out.text = value.substr(second + 1);
    return true;
}

std::string FormatMovedAside(const MovedAside& moved) {
    if (moved.path.empty() || moved.backup.empty() || moved.path.find('|') != std::string::npos ||
        moved.backup.find('|') != std::string::npos)
        return std::string();
    return moved.path + "|" + moved.backup;
}

bool ParseMovedAside(const std::string& value, MovedAside& out) {
    const size_t bar = value.find('|');
    if (bar == std::string::npos || bar == 0 || bar + 1 == value.size() ||
        value.find('|', bar + 1) != std::string::npos)
        return false;
    out.path = value.substr(0, bar);
    out.backup = value.substr(bar + 1);
    return true;
}

std::string FormatBackupCheck(const BackupCheck& check) {
    if (check.backup.empty() || check.backup.find('|') != std::string::npos || check.sha256.size() != 64)
        return std::string();
    return check.backup + "|" + std::to_string(check.size) + "|" + check.sha256;
}

bool ParseBackupCheck(const std::string& value, BackupCheck& out) {
    const size_t second = value.rfind('|');
    const size_t first = second == std::string::npos || second == 0 ? std::string::npos : value.rfind('|', second - 1);
    if (first == std::string::npos || first == 0 || second - first < 2 || value.size() - second != 65) return false;
    const std::string size = value.substr(first + 1, second - first - 1);
    if (size.find_first_not_of("0123456789") != std::string::npos || size.size() > 19) return false;
    out.backup = value.substr(0, first);
    out.size = std::stoull(size);
    out.sha256 = value.substr(second + 1);
    return out.backup.find('|') == std::string::npos;
}

std::string FormatIniEntry(const IniEntry& entry) {
    for (const std::string* part : {&entry.path, &entry.section, &entry.key})
        if (part->find('|') != std::string::npos) return std::string();
    if (entry.path.empty() || entry.key.empty()) return std::string();
    std::string out = entry.path + "|" + entry.section + "|" + entry.key + "|" +
                      std::to_string(static_cast<int>(entry.before));
    if (entry.before == IniEntry::Before::Value) out += entry.value;
    return out;
}

bool ParseIniEntry(const std::string& value, IniEntry& out) {
    const size_t first = value.find('|');
    const size_t second = first == std::string::npos ? first : value.find('|', first + 1);
    const size_t third = second == std::string::npos ? second : value.find('|', second + 1);
    if (third == std::string::npos || first == 0 || third == second + 1 || third + 1 >= value.size()) return false;
    const char state = value[third + 1];
    if (state < '0' || state > '2' || (state != '2' && third + 2 != value.size())) return false;
    out.path = value.substr(0, first);
    out.section = value.substr(first + 1, second - first - 1);
    out.key = value.substr(second + 1, third - second - 1);
    out.before = static_cast<IniEntry::Before>(state - '0');
    out.value = state == '2' ? value.substr(third + 2) : std::string();
    return true;
}

std::string FormatServiceSettings(const ServiceSettings& s) {
    if (s.name.empty() || s.name.find('|') != std::string::npos || s.displayName.find('|') != std::string::npos)
        return std::string();
    return s.name + "|" + std::to_string(s.type) + "|" + std::to_string(s.startType) + "|" +
           std::to_string(s.errorControl) + "|" + s.displayName + "|" + s.commandLine;
}

bool ParseServiceSettings(const std::string& value, ServiceSettings& out) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() < 5) {
        const size_t bar = value.find('|', start);
        if (bar == std::string::npos) return false;
        parts.push_back(value.substr(start, bar - start));
        start = bar + 1;
    }
    unsigned long numbers[3];
    for (int i = 0; i < 3; ++i) {
        const std::string& text = parts[1 + i];
        if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
        numbers[i] = std::stoul(text);
    }
    if (parts[0].empty()) return false;
    out = {parts[0], numbers[0], numbers[1], numbers[2], parts[4], value.substr(start)};
    return true;
}

std::string FormatPreviousValue(const PreviousValue& value) {
    if (value.path.empty() || value.path.find('|') != std::string::npos) return std::string();
    static const char kHex[] = "0123456789ABCDEF";
    std::string out = std::to_string(value.type) + (value.wide ? "U|" : "|") + value.path + "|";
    out.reserve(out.size() + value.bytes.size() * 2);
    for (unsigned char c : value.bytes) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
    return out;
}

bool ParsePreviousValue(const std::string& value, PreviousValue& out) {
    const size_t first = value.find('|');
    const size_t second = first == std::string::npos ? first : value.find('|', first + 1);
    if (first == 0 || second == std::string::npos || second == first + 1) return false;
    std::string type = value.substr(0, first);
    const bool wide = type.size() > 1 && type.back() == 'U';
    if (wide) type.pop_back();
    if (type.size() > 9 || type.find_first_not_of("0123456789") != std::string::npos) return false;
    const std::string hex = value.substr(second + 1);
    if (hex.size() % 2 != 0) return false;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    out.type = std::stoul(type);
    out.path = value.substr(first + 1, second - first - 1);
    out.bytes = std::move(bytes);
    out.wide = wide;
    return true;
}

UninstallLogWriter::~UninstallLogWriter() { Close(); }

void UninstallLogWriter::Start(const std::string& path) {
    Close();
    path_ = path;
    formatLinePending_ = !path_.empty();
    if (!path_.empty()) std::remove(path_.c_str());
}

void UninstallLogWriter::Continue(const std::string& path) {
    Close();
    path_ = path;
    formatLinePending_ = false;
}

bool UninstallLogWriter::Open() {
    if (file_) return true;
    if (path_.empty()) return false;
    // Binary mode: the line ends are written as they are, CR LF on every system.
    file_ = std::fopen(path_.c_str(), "ab");
    if (!file_ && errno == ENOENT) {
        MakeFolderChain(FolderOf(path_));
        file_ = std::fopen(path_.c_str(), "ab");
    }
    return file_ != nullptr;
}

bool UninstallLogWriter::Append(LogKind kind, const std::string& value) {
    return Append(MakeLogRecord(kind, value));
}

bool UninstallLogWriter::Append(const LogRecord& record) {
    std::string line = FormatLogLine(record);
    if (line.empty() || !Open()) return false;
    if (formatLinePending_) {
        line = FormatLogLine(MakeLogRecord(LogKind::LogFormat, kLogFormatVersion)) + line;
        formatLinePending_ = false;
    }
    const bool written = std::fwrite(line.data(), 1, line.size(), file_) == line.size();
    return std::fflush(file_) == 0 && written;
}

bool UninstallLogWriter::Sync() {
    if (!file_) return true;
    if (std::fflush(file_) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file_)) == 0;
#else
    return fsync(fileno(file_)) == 0;
#endif
}

void UninstallLogWriter::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

}  // namespace core

#include "core/Registry.h"

#include <cstring>
#include <vector>

#include "core/WideText.h"

namespace core::registry {
namespace {

constexpr size_t kMaxNameLength = 255;
// A text value larger than this is not a setting the engine uses; refusing it
// keeps a hostile value from costing unbounded memory.
constexpr DWORD kMaxValueBytes = 1 << 20;

bool NamesFit(const std::string& path, const std::string& name) {
    return path.size() <= kMaxNameLength && name.size() <= kMaxNameLength;
}

bool LongNamesFit(const std::string& path, const std::string& name) {
    return path.size() <= kMaxKeyPathLength && name.size() <= kMaxNameLength;
}

KeyAccessObserver g_observer = nullptr;

void Observe(HKEY root, const std::string& path, REGSAM access) {
    if (g_observer) g_observer(root, path, access);
}

// Closes the key when the scope ends.
class Key {
public:
    Key() = default;
    ~Key() { if (h_) RegCloseKey(h_); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &h_; }
    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

bool Open(HKEY root, const std::string& path, REGSAM access, Key& key) {
    Observe(root, path, access);
    return RegOpenKeyExA(root, path.c_str(), 0, access, key.out()) == ERROR_SUCCESS;
}

}  // namespace

void SetKeyAccessObserver(KeyAccessObserver observer) { g_observer = observer; }

std::string ReadText(HKEY root, const std::string& path, const std::string& name) {
    if (!NamesFit(path, name)) return std::string();
    Key key;
    if (!Open(root, path, KEY_QUERY_VALUE, key)) return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size > kMaxValueBytes)
        return std::string();
    std::vector<char> buf(size + 1, '\0');
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buf.data()), &size) != ERROR_SUCCESS)
        return std::string();
    // Stored text may or may not carry its terminating zero: stop at the first.
    return std::string(buf.data());
}

std::string ReadMachineText(const std::string& path, const std::string& name) {
    return ReadText(HKEY_LOCAL_MACHINE, path, name);
}

std::string ReadUserText(const std::string& path, const std::string& name) {
    return ReadText(HKEY_CURRENT_USER, path, name);
}

static bool SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                     const BYTE* data, DWORD size) {
    if (!NamesFit(path, name)) return false;
    Key key;
    if (!Open(root, path, KEY_SET_VALUE, key)) return false;
    return RegSetValueExA(key.get(), name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
}

bool WriteText(HKEY root, const std::string& path, const std::string& name,
               const std::string& value) {
    return SetValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                    static_cast<DWORD>(value.size() + 1));
}

bool WriteMachineText(const std::string& path, const std::string& name, const std::string& value) {
    return WriteText(HKEY_LOCAL_MACHINE, path, name, value);
}

bool WriteUserText(const std::string& path, const std::string& name, const std::string& value) {
    return WriteText(HKEY_CURRENT_USER, path, name, value);
}

bool WriteClassesText(const std::string& path, const std::string& name, const std::string& value) {
    return WriteText(HKEY_CLASSES_ROOT, path, name, value);
}

bool WriteMachineNumber(const std::string& path, const std::string& name, DWORD value) {
    return SetValue(HKEY_LOCAL_MACHINE, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                    sizeof value);
}

bool EnsureKey(HKEY root, const std::string& path) {
    if (path.size() > kMaxKeyPathLength) return false;
    Key key;
    if (Open(root, path, KEY_ALL_ACCESS, key)) return true;
    Key created;
    Observe(root, path, KEY_ALL_ACCESS);
    return RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, created.out(), nullptr) == ERROR_SUCCESS;
}

bool EnsureMachineKey(const std::string& path) { return EnsureKey(HKEY_LOCAL_MACHINE, path); }

namespace {
struct RootName {
    const char* name;
    HKEY root;
};
const RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};
}  // namespace

HKEY RootFromName(const std::string& rootName) {
    for (const RootName& r : kRoots)
        if (rootName == r.name) return r.root;
    return nullptr;
}

bool EnsureKeyByRootName(const std::string& rootName, const std::string& path) {
    HKEY root = RootFromName(rootName);
    if (!root) return false;
    std::string relative = path;
    for (const RootName& r : kRoots) {
        const std::string prefix = std::string(r.name) + "\\";
        if (relative.compare(0, prefix.size(), prefix) == 0) {
            relative.erase(0, prefix.size());
            break;
        }
    }
    return EnsureKey(root, relative);
}

bool DeleteValue(bool machine, const std::string& path, const std::string& name) {
    if (!NamesFit(path, name)) return false;
    Key key;
    if (!Open(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, path, KEY_SET_VALUE, key))
        return false;
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

namespace {

// The whole value through `query(type, data, size)` (one of the query
// functions bound to its key and name). The value may grow between the size
// query and the read: it is asked for again then.
template <typename Query>
std::optional<Value> WholeValue(Query query) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        Value value;
        DWORD size = 0;
        if (query(&value.type, nullptr, &size) != ERROR_SUCCESS || size > kMaxValueBytes) return std::nullopt;
        value.bytes.resize(size);
        const LONG read = query(&value.type, reinterpret_cast<BYTE*>(value.bytes.data()), &size);
        if (read == ERROR_MORE_DATA) continue;
        if (read != ERROR_SUCCESS) return std::nullopt;
        value.bytes.resize(size);
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Value> ReadValue(HKEY root, const std::string& path, const std::string& name) {
    if (!LongNamesFit(path, name)) return std::nullopt;
    Key key;
    if (!Open(root, path, KEY_QUERY_VALUE, key)) return std::nullopt;
    return WholeValue([&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExA(key.get(), name.c_str(), nullptr, type, data, size);
    });
}

bool WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const std::string& bytes) {
    if (!LongNamesFit(path, name) || bytes.size() > kMaxValueBytes) return false;
    Key key;
    if (!Open(root, path, KEY_SET_VALUE, key)) return false;
    return RegSetValueExA(key.get(), name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    if (!LongNamesFit(path, name)) return false;
    Key key;
    if (!Open(root, path, KEY_SET_VALUE, key)) return false;
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS;
}

namespace {

bool IsTextType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

std::optional<Value> ReadWideValue(HKEY root, const std::string& path, const std::string& name) {
    if (!LongNamesFit(path, name)) return std::nullopt;
    const std::wstring wideName = wide::FromCodePage(name, CP_ACP);
    if (wideName.empty() != name.empty()) return std::nullopt;
    Key key;
    if (!Open(root, path, KEY_QUERY_VALUE, key)) return std::nullopt;
    return WholeValue([&](DWORD* type, BYTE* data, DWORD* size) {
        return RegQueryValueExW(key.get(), wideName.c_str(), nullptr, type, data, size);
    });
}

bool WriteWideValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                    const std::string& bytes) {
    if (!LongNamesFit(path, name) || bytes.size() > kMaxValueBytes) return false;
    const std::wstring wideName = wide::FromCodePage(name, CP_ACP);
    if (wideName.empty() != name.empty()) return false;
    Key key;
    if (!Open(root, path, KEY_SET_VALUE, key)) return false;
    return RegSetValueExW(key.get(), wideName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::optional<WideText> ReadWideText(HKEY root, const std::string& path, const std::string& name) {
    const std::optional<Value> value = ReadWideValue(root, path, name);
    if (!value) return std::nullopt;
    WideText text;
    text.type = value->type;
    if (!IsTextType(value->type)) return text;
    // Up to the first zero: a stored text may or may not carry its own.
    for (size_t at = 0; at + 1 < value->bytes.size(); at += 2) {
        const wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(value->bytes[at]) |
                                               static_cast<unsigned char>(value->bytes[at + 1]) << 8);
        if (c == L'\0') break;
        text.text += c;
    }
    return text;
}

bool WriteWideText(HKEY root, const std::string& path, const std::string& name, const WideText& value) {
    if (!IsTextType(value.type)) return false;
    const std::string bytes(reinterpret_cast<const char*>(value.text.c_str()), (value.text.size() + 1) * sizeof(wchar_t));
    return WriteWideValue(root, path, name, value.type, bytes);
}

bool KeyExists(HKEY root, const std::string& path) {
    if (path.size() > kMaxKeyPathLength) return false;
    Key key;
    return Open(root, path, KEY_QUERY_VALUE, key);
}

bool KeyIsEmpty(HKEY root, const std::string& path) {
    if (path.size() > kMaxKeyPathLength) return false;
    Key key;
    if (!Open(root, path, KEY_QUERY_VALUE, key)) return false;
    DWORD subKeys = 0, values = 0;
    return RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           subKeys == 0 && values == 0;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& path) {
    std::vector<std::string> names;
    Key key;
    if (path.size() > kMaxKeyPathLength || !Open(root, path, KEY_QUERY_VALUE, key)) return names;
    char name[16384];  // the longest value name the registry allows, and its zero
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        const LONG result = RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result == ERROR_SUCCESS) names.emplace_back(name, length);
        else if (result != ERROR_MORE_DATA) break;
    }
    return names;
}

bool DeleteEmptyKey(HKEY root, const std::string& path) {
    if (path.empty() || !KeyIsEmpty(root, path)) return false;
    Observe(root, path, DELETE);
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

namespace {

// Deletes the sub-key `name` of `parent` after everything below it. The
// names are read first and deleted after: deleting while enumerating would
// shift the indexes.
void DeleteSubTree(HKEY parent, const std::string& name, int depth) {
    if (depth > kMaxTreeDepth) return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> children;
    char child[kMaxNameLength + 1];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(child, length);
    }
    for (const std::string& c : children) DeleteSubTree(key, c, depth + 1);
    RegCloseKey(key);
    RegDeleteKeyA(parent, name.c_str());
}

}  // namespace

bool DeleteKeyTree(HKEY root, const std::string& path) {
    if (path.empty() || path.size() > kMaxKeyPathLength) return false;
    Observe(root, path, KEY_ENUMERATE_SUB_KEYS | DELETE);
    DeleteSubTree(root, path, 0);
    // A key that cannot be opened for another reason (no access) is still there.
    Key left;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, left.out()) == ERROR_FILE_NOT_FOUND;
}

HKEY SplitRootPath(const std::string& fullPath, std::string& path) {
    for (const RootName& r : kRoots) {
        const size_t n = std::strlen(r.name);
        if (fullPath.compare(0, n, r.name) != 0) continue;
        if (fullPath.size() == n) {
            path.clear();
            return r.root;
        }
        if (fullPath[n] != '\\') continue;
        path = fullPath.substr(n + 1);
        return r.root;
    }
    return nullptr;
}

const char* RootNameOf(HKEY root) {
    for (const RootName& r : kRoots)
        if (r.root == root) return r.name;
    return "";
}

bool OpensWithFullAccess(HKEY root, const std::string& path) {
    if (path.size() > kMaxNameLength) return false;
    Key key;
    return Open(root, path, KEY_ALL_ACCESS, key);
}

}  // namespace core::registry

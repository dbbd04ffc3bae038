#include "install/files/SameFile.h"

#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <vector>

namespace install::fileops {

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

HANDLE OpenForReading(const std::string& path, DWORD flags, DWORD moreAccess = 0) {
    return CreateFileA(path.c_str(), GENERIC_READ | moreAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | flags, nullptr);
}

// A plain file with one name, and its size. Asked by class: the whole
// information also reads the volume's, which costs a look at every folder
// up to the drive's root.
bool IsPlainFile(HANDLE file, DWORD& attributes, unsigned long long& size) {
    FILE_ATTRIBUTE_TAG_INFO tag;
    FILE_STANDARD_INFO standard;
    if (!GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return false;
    if (tag.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    if (standard.Directory || standard.NumberOfLinks != 1) return false;
    size = static_cast<unsigned long long>(standard.EndOfFile.QuadPart);
    attributes = tag.FileAttributes;
    return true;
}

// The token user of this process, read once: every kept file asks.
PSID ThisProcessUser() {
    static const std::vector<unsigned char> user = [] {
        std::vector<unsigned char> sid;
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return sid;
        unsigned char buffer[256];
        DWORD size = 0;
        if (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
            PSID found = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
            const auto* bytes = static_cast<const unsigned char*>(found);
            sid.assign(bytes, bytes + GetLengthSid(found));
        }
        CloseHandle(token);
        return sid;
    }();
    return user.empty() ? nullptr : const_cast<unsigned char*>(user.data());
}

bool IsThisProcessUser(PSID sid) {
    PSID user = ThisProcessUser();
    return user && EqualSid(user, sid);
}

// Owned by the administrators, the system or the installing account: an
// owner may always change who can write the file, so one a standard user
// owns is never kept as the product's.
bool OwnedByTrustedAccount(PSECURITY_DESCRIPTOR descriptor) {
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) || !owner) return false;
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
           IsThisProcessUser(owner);
}

// The file's owner and DACL, read in one call; freed with LocalFree.
class Descriptor {
public:
    explicit Descriptor(HANDLE file) {
        if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, nullptr, nullptr, &descriptor_) != ERROR_SUCCESS)
            descriptor_ = nullptr;
    }
    ~Descriptor() {
        if (descriptor_) LocalFree(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    PSECURITY_DESCRIPTOR get() const { return descriptor_; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

bool SameSize(HANDLE file, unsigned long long size) {
    LARGE_INTEGER other;
    return GetFileSizeEx(file, &other) && static_cast<unsigned long long>(other.QuadPart) == size;
}

bool ReadFull(HANDLE file, char* buffer, DWORD wanted, DWORD& got) {
    got = 0;
    while (got < wanted) {
        DWORD n = 0;
        if (!ReadFile(file, buffer + got, wanted - got, &n, nullptr)) return false;
        if (n == 0) break;
        got += n;
    }
    return true;
}

}  // namespace

bool HoldsSameBytes(const std::string& installed, const std::string& payload) {
    return HoldsSameBytes(installed, payload, SameFileQuestions());
}

bool HoldsSameBytes(const std::string& installed, const std::string& payload, const SameFileQuestions& questions) {
    const DWORD moreAccess = questions.whenSame ? READ_CONTROL | WRITE_DAC : 0;
    const Handle mine(OpenForReading(installed, FILE_FLAG_OPEN_REPARSE_POINT, moreAccess));
    unsigned long long size = 0;
    DWORD attributes = 0;
    if (!mine.ok() || !IsPlainFile(mine.get(), attributes, size)) return false;
    if (questions.acceptable && !questions.acceptable(attributes, size)) return false;
    const Descriptor descriptor(mine.get());
    if (!descriptor.get() || !OwnedByTrustedAccount(descriptor.get())) return false;
    const Handle theirs(OpenForReading(payload, 0));
    if (!theirs.ok() || !SameSize(theirs.get(), size)) return false;
    constexpr DWORD kChunk = 64 * 1024;
    static thread_local std::vector<char> a(kChunk), b(kChunk);
    for (unsigned long long left = size; left > 0;) {
        const DWORD wanted = static_cast<DWORD>(std::min<unsigned long long>(left, kChunk));
        DWORD gotA = 0, gotB = 0;
        if (!ReadFull(mine.get(), a.data(), wanted, gotA) || !ReadFull(theirs.get(), b.data(), wanted, gotB))
            return false;
        if (gotA != wanted || gotB != wanted || !std::equal(a.begin(), a.begin() + wanted, b.begin())) return false;
        left -= wanted;
    }
    if (questions.whenSame) questions.whenSame(mine.get(), descriptor.get());
    return true;
}

}  // namespace install::fileops

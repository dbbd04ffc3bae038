#include "install/files/FilePermissions.h"

#include <aclapi.h>

#include <cstring>

#include "core/Trace.h"

namespace install::fileops {

namespace {

// The DACL part of a descriptor, its inheritance from the parent turned on.
constexpr SECURITY_INFORMATION kInheritedDacl =
    DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION;

void TraceFailure(const char* call, const std::string& path, DWORD error) {
    core::trace::Line(std::string(call) + " failed for " + path + ": " + core::trace::SystemErrorText(error));
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// An empty DACL: with inheritance on, the file holds only what its folder
// passes on.
struct EmptyDacl {
    EmptyDacl() { InitializeAcl(&acl, sizeof acl, ACL_REVISION); }
    ACL acl;
};

// The DACL part of the file's descriptor, self-relative; empty when it cannot
// be read.
std::vector<unsigned char> ReadDacl(HANDLE file) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return {};
    const unsigned char* bytes = static_cast<const unsigned char*>(descriptor);
    std::vector<unsigned char> copy(bytes, bytes + GetSecurityDescriptorLength(descriptor));
    LocalFree(descriptor);
    return copy;
}

}  // namespace

void InheritedPermissions::Apply(HANDLE file, const std::string& path) {
    const std::string folder = FolderOf(path);
    if (!descriptor_.empty() && folder == folder_) {
        if (!SetKernelObjectSecurity(file, kInheritedDacl, descriptor_.data()))
            TraceFailure("SetKernelObjectSecurity", path, GetLastError());
        return;
    }
    EmptyDacl empty;
    const DWORD error =
        SetSecurityInfo(file, SE_FILE_OBJECT, kInheritedDacl, nullptr, nullptr, &empty.acl, nullptr);
    if (error != ERROR_SUCCESS) {
        TraceFailure("SetSecurityInfo", path, error);
        descriptor_.clear();
        return;
    }
    folder_ = folder;
    descriptor_ = ReadDacl(file);
}

// The DACL of a descriptor and whether it is protected from inheritance.
bool DaclOf(PSECURITY_DESCRIPTOR descriptor, PACL& dacl, bool& isProtected) {
    BOOL present = FALSE, defaulted = FALSE;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present || !dacl ||
        !GetSecurityDescriptorControl(descriptor, &control, &revision))
        return false;
    isProtected = (control & SE_DACL_PROTECTED) != 0;
    return true;
}

bool InheritedPermissions::Holds(PSECURITY_DESCRIPTOR current, const std::string& path) const {
    if (descriptor_.empty() || FolderOf(path) != folder_) return false;
    PACL wanted = nullptr, found = nullptr;
    bool wantedProtected = false, foundProtected = false;
    auto* made = const_cast<unsigned char*>(descriptor_.data());
    return DaclOf(made, wanted, wantedProtected) && DaclOf(current, found, foundProtected) &&
           wantedProtected == foundProtected && wanted->AclSize == found->AclSize &&
           std::memcmp(wanted, found, wanted->AclSize) == 0;
}

void InheritedPermissions::Apply(HANDLE file, const std::string& path, PSECURITY_DESCRIPTOR current) {
    if (current && Holds(current, path)) return;
    Apply(file, path);
}

void InheritedPermissions::Apply(const std::string& path) {
    EmptyDacl empty;
    const DWORD error = SetNamedSecurityInfoA(const_cast<char*>(path.c_str()), SE_FILE_OBJECT,
                                              kInheritedDacl, nullptr, nullptr, &empty.acl, nullptr);
    if (error != ERROR_SUCCESS) TraceFailure("SetNamedSecurityInfo", path, error);
}

}  // namespace install::fileops

#include "install/registration/SetupCache.h"

#include <windows.h>

#include <vector>

#include "core/Folders.h"
#include "core/ShellFileOps.h"
#include "core/Trace.h"
#include "core/WideText.h"
#include "download/FileDigest.h"
#include "install/files/FileRemoval.h"
#include "install/files/LinkGuard.h"
#include "install/registration/SetupCacheRules.h"
#include "install/registration/SingleFileCabinet.h"
#include "install/shared/WholeFile.h"
#include "util/Text.h"

namespace install::setupcache {

namespace {

std::string StagingFolder(const std::string& uninstallFolder) {
    return util::text::WithTrailingBackslash(uninstallFolder) + kFolder + ".new\\";
}

void RemoveTree(const std::string& folder) {
    LinkGuard guard({folder});
    if (RemoveFolderTree(folder, guard) == RemovalOutcome::Failed) core::trace::Value("setup copy not removed", folder);
}

// The names in a folder, "." and ".." aside.
std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA((util::text::WithTrailingBackslash(folder) + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

bool SameFolder(const std::string& a, const std::string& b) {
    return util::text::EqualsIgnoringAsciiCase(util::text::WithTrailingBackslash(ResolvedFolder(a)),
                                              util::text::WithTrailingBackslash(ResolvedFolder(b)));
}

// The digest the cache keeps: 64 hex digits, or "".
std::string KeptDigest(const std::string& cache) {
    std::string text;
    if (!ReadWholeFile(cache + kCabinetDigest, text)) return std::string();
    text = text.substr(0, text.find_first_of("\r\n "));
    return text.size() == 64 ? text : std::string();
}

bool WriteRecord(const std::string& path, const std::string& text) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    return CloseHandle(file) && ok;
}

// The single file the cache names in `installSource`; "" when it names none.
std::wstring SingleFileIn(const std::string& cache, const std::string& installSource) {
    std::string record;
    if (!ReadWholeFile(cache + kSingleFileRecord, record)) return std::wstring();
    const std::string name = SingleFileNameOf(record);
    if (name.empty()) return std::wstring();
    return core::wide::FromCodePage(util::text::WithTrailingBackslash(installSource), CP_ACP) +
           core::wide::FromCodePage(name, CP_UTF8);
}

// The cabinet for a repair, copied to `copy` from the install source: the
// cabinet beside the package, or out of the single file the cache names.
bool CopySourceCabinet(const std::string& cache, const std::string& installSource, const std::string& copy) {
    if (installSource.empty()) {
        core::trace::Value("no installation source for repair", cache);
        return false;
    }
    const std::string from = util::text::WithTrailingBackslash(installSource) + kCabinet;
    const std::wstring single = core::folders::IsFile(from) ? std::wstring() : SingleFileIn(cache, installSource);
    if (!single.empty()) return CopyCabinetFromSingleFile(single, copy);
    if (CopyFileA(from.c_str(), copy.c_str(), FALSE)) return true;
    core::trace::Failure("CopyFileA (cabinet for repair)", from, GetLastError());
    return false;
}

}  // namespace

std::string CacheFolder(const std::string& uninstallFolder) {
    return util::text::WithTrailingBackslash(uninstallFolder) + kFolder + "\\";
}

void CacheSetup(const std::string& sourceFolder, const std::string& uninstallFolder, const std::string& singleFile) {
    const std::string source = util::text::WithTrailingBackslash(sourceFolder);
    if (!core::folders::IsFile(source + kCabinetDigest) || SameFolder(source, CacheFolder(uninstallFolder))) return;
    const std::string staging = StagingFolder(uninstallFolder);
    RemoveTree(staging);  // one a killed run left
    if (!CreateDirectoryA(staging.c_str(), nullptr)) {
        core::trace::Failure("CreateDirectoryA (setup copy)", staging, GetLastError());
        return;
    }
    for (const std::string& name : EntriesOf(source)) {
        if (util::text::EqualsIgnoringAsciiCase(name, kCabinet)) continue;
        const std::string from = source + name;
        const bool copied = core::folders::IsFile(from) ? CopyFileA(from.c_str(), (staging + name).c_str(), FALSE) != 0
                                                         : core::shellops::CopyFolder(from, staging + name, true);
        if (!copied) {
            core::trace::Failure("copy (setup copy)", from, GetLastError());
            RemoveTree(staging);  // half a setup would repair nothing
            return;
        }
    }
    if (!singleFile.empty() && !WriteRecord(staging + kSingleFileRecord, singleFile)) {
        core::trace::Failure("write (setup copy)", staging + kSingleFileRecord, GetLastError());
        RemoveTree(staging);
    }
}

void CommitSetupCache(const std::string& uninstallFolder) {
    const std::string staging = StagingFolder(uninstallFolder);
    if (!core::folders::Exists(staging)) return;
    const std::string cache = CacheFolder(uninstallFolder);
    RemoveTree(cache);
    const std::string from = staging.substr(0, staging.size() - 1), to = cache.substr(0, cache.size() - 1);
    if (!MoveFileExA(from.c_str(), to.c_str(), 0)) core::trace::Failure("MoveFileExA (setup copy)", to, GetLastError());
}

void DiscardSetupCache(const std::string& uninstallFolder) { RemoveTree(StagingFolder(uninstallFolder)); }

std::string PrepareCachedSetup(const std::string& uninstallFolder, const std::string& installSource) {
    const std::string cache = CacheFolder(uninstallFolder);
    const std::string setup = cache + "setup.exe";
    const std::string digest = KeptDigest(cache);
    if (!core::folders::IsFile(setup) || digest.empty()) {
        core::trace::Value("no setup kept for modify and repair", cache);
        return std::string();
    }
    const std::string cabinet = cache + kCabinet;
    if (core::folders::IsFile(cabinet) && download::FileSha256Hex(cabinet) == digest) return setup;
    // Copied first, then checked: the copy in the cache cannot change after.
    const std::string copy = cabinet + ".part";
    if (!CopySourceCabinet(cache, installSource, copy)) {
        DeleteFileA(copy.c_str());
        return std::string();
    }
    const std::string from = util::text::WithTrailingBackslash(installSource);
    if (download::FileSha256Hex(copy) != digest ||
        !MoveFileExA(copy.c_str(), cabinet.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        core::trace::Value("cabinet at the installation source is not the one installed", from);
        DeleteFileA(copy.c_str());
        return std::string();
    }
    return setup;
}

}  // namespace install::setupcache

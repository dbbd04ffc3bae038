#include "install/FilePhase.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "core/Messages.h"
#include "install/DirectoryPath.h"
#include "install/FileMove.h"
#include "install/FileRules.h"
#include "install/FileVersion.h"

namespace install {

using namespace install::filerules;
using core::filelist::FileRecord;

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// One pass of the file action over the records.
class FilePlacer {
public:
    explicit FilePlacer(InstallContext& context) : ctx_(context) {}

    ActionResult InstallRecord(size_t index, const FileRecord& record);

private:
    bool CopyPayloadFile(const std::string& source, const std::string& destination, bool critical);
    bool PlaceFile(const std::string& source, const std::string& destination);
    std::string ExpandedCopy(const std::string& source);
    void StartSelfRegistration(const std::string& destination);
    void ApplyAttributes(const std::string& destination, int32_t flags);
    bool DownloadWebItem(const FileRecord& record);

    InstallContext& ctx_;
    install::fileops::InheritedPermissions permissions_;
};

ActionResult FilePlacer::InstallRecord(size_t k, const FileRecord& r) {
    ctx_.SetProgressPosition(static_cast<int>(k));
    const std::string source = ctx_.PayloadFilePath(k, r.fileName);
    const std::string destination = ctx_.Expand(DestinationPath(r.destDir, r.fileName));
    if (ctx_.CancelRequested()) return ActionResult::Stop;
    if (!SystemMaskMatches(r.systemMask, ctx_.Setup().osName)) return ActionResult::Continue;

    const bool skipCopy = (HasFlag(r.flags, kFlagOnlyIfAbsent) && Exists(destination)) ||
                          ctx_.Setup().features.IsExcluded(r.feature);
    if (!skipCopy) {
        if (core::filelist::IsWebItem(r.sourceLine)) {
            DownloadWebItem(r);
            if (ctx_.CancelRequested()) return ActionResult::Stop;
        } else {
            const std::string from =
                HasFlag(r.flags, kFlagExpandContent) ? ExpandedCopy(source) : source;
            if (!CopyPayloadFile(from, destination, HasFlag(r.flags, kFlagCritical)))
                return ActionResult::Stop;
        }
    }
    if (!HasFlag(r.flags, kFlagPermanent)) ctx_.Log(core::LogKind::File, destination);
    if (HasFlag(r.flags, kFlagSelfRegister)) StartSelfRegistration(destination);
    ApplyAttributes(destination, r.flags);
    return ActionResult::Continue;
}

// Clears a read-only destination's attributes; false when it was not read-only.
bool ResetReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

// Copies one payload file, asking the user what to do when it fails.
bool FilePlacer::CopyPayloadFile(const std::string& source, const std::string& destination,
                                 bool critical) {
    if (IsVersionedLibrary(source) && Exists(destination) &&
        !ShouldReplaceByVersion(ReadFileVersionText(source), ReadFileVersionText(destination)))
        return true;
    for (;;) {
        // A read-only destination refuses to be replaced: its attributes are
        // reset and the file placed again. Trying first saves a look at the
        // destination for the usual new file.
        if (PlaceFile(source, destination)) return true;
        if (ResetReadOnly(destination) && PlaceFile(source, destination)) return true;

        const core::MessageId text = critical ? core::MessageId::CopyCriticalFailed : core::MessageId::CopyFailed;
        const ErrorChoice choice =
            ctx_.Ask({core::FormatText(core::EnglishText(text), {destination}), critical});
        if (critical || choice == ErrorChoice::Cancel) {
            ctx_.Abandon();
            return false;
        }
        if (choice == ErrorChoice::Ignore) return true;
    }
}

// Files extracted into the working folder are moved into place: the folder is
// deleted at the end of the run anyway, and a move costs a rename where a copy
// costs writing the file again and deleting it later. A moved file takes the
// permissions of its new folder, as a copy gets them. Files of a disk image
// are copied.
bool FilePlacer::PlaceFile(const std::string& source, const std::string& destination) {
    if (ctx_.Setup().diskImage) return CopyFileA(source.c_str(), destination.c_str(), FALSE) != 0;
    return install::fileops::MoveReplacing(source, destination, permissions_);
}

// Writes the source with its placeholders expanded beside it (name + "2").
std::string FilePlacer::ExpandedCopy(const std::string& source) {
    std::string text;
    ReadWholeFile(source, text);
    const std::string target = source + "2";
    std::ofstream(target, std::ios::binary | std::ios::trunc) << ctx_.Expand(text);
    return target;
}

void FilePlacer::StartSelfRegistration(const std::string& destination) {
    std::string commandLine = "regsvr32.exe /s \"" + destination + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void FilePlacer::ApplyAttributes(const std::string& destination, int32_t flags) {
    const DWORD current = GetFileAttributesA(destination.c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return;
    const DWORD wanted = AttributesAfterInstall(current, flags);
    if (wanted != current) SetFileAttributesA(destination.c_str(), wanted);
}

// Web items are fetched by the download step, not built yet: the item is
// reported as not downloaded and the run goes on.
bool FilePlacer::DownloadWebItem(const FileRecord&) { return false; }

}  // namespace

ActionResult LoadFileData(InstallContext& ctx) {
    std::string text;
    if (!ReadWholeFile(ctx.Setup().dataPath, text)) {
        ctx.ReportError(1, core::EnglishText(core::MessageId::EngineFileDataFailed));
        ctx.Abandon();  // nothing could be installed
        return ActionResult::Stop;
    }
    std::vector<FileRecord>& records = ctx.FileRecords();
    records = core::filelist::ParseFileList(text);
    ctx.Log(core::LogKind::TotalFile, std::to_string(records.size()));
    ctx.SetStatus(core::EnglishText(core::MessageId::StatusCreatingDirectories));
    CreateDirectoryPath(ctx.Expand(core::kUninstallFolder));
    const std::string installDir = ctx.Expand("<InstallDir>");
    CreateDirectoryPath(installDir);
    ctx.Log(core::LogKind::Dir, installDir);
    for (const std::string& dir : core::filelist::DistinctDirectories(records)) {
        const std::string expanded = ctx.Expand(DirectoryToCreate(dir));
        CreateDirectoryPath(expanded);
        ctx.Log(core::LogKind::Dir, expanded);
    }
    ctx.SetProgressRange(static_cast<int>(records.size()));
    return ActionResult::Continue;
}

ActionResult InstallFiles(InstallContext& ctx) {
    FilePlacer placer(ctx);
    const std::vector<FileRecord>& records = ctx.FileRecords();
    for (size_t k = 0; k < records.size(); ++k)
        if (placer.InstallRecord(k, records[k]) == ActionResult::Stop) return ActionResult::Stop;
    return ActionResult::Continue;
}

}  // namespace install

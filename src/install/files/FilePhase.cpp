#include "install/files/FilePhase.h"

#include <windows.h>

#include <optional>
#include <unordered_map>

#include "core/Folders.h"
#include "install/files/ReplacedFile.h"
#include "core/Messages.h"
#include "core/Trace.h"
#include "download/FileTransfer.h"
#include "install/ConditionQuery.h"
#include "install/shared/DirectoryPath.h"
#include "install/files/FileBackup.h"
#include "install/files/FileMove.h"
#include "install/files/FileRules.h"
#include "install/files/FileVersion.h"
#include "install/files/SameFile.h"
#include "install/files/SelfRegistration.h"
#include "install/shared/WholeFile.h"
#include "install/shared/EarlierOwnership.h"

namespace install {

using namespace install::filerules;
using core::filelist::FileRecord;

namespace {

// One pass of the file action over the records.
class FilePlacer {
public:
    explicit FilePlacer(InstallContext& context) : ctx_(context) {}

    ActionResult InstallRecord(size_t index, const FileRecord& record);

private:
    // Why the run leaves a file as it finds it: what lies there is kept
    // (only if absent and there; a library where a newer one lies; the
    // earlier run's copy, which already is the payload's file), or this
    // version does not want the file (an excluded feature, a web item its
    // condition does not want).
    enum class Skip { No, Kept, NotWanted };
    Skip WhySkipped(const FileRecord& r, bool web, const WebItem& item, const std::string& source,
                   const std::string& destination, bool placedEarlier);
    bool AlreadyInPlace(const FileRecord& r, const std::string& source, const std::string& destination);
    bool CopyPayloadFile(const std::string& source, const std::string& expandedCopy,
                         const std::string& destination, bool critical);
    bool TryPlace(const std::string& source, const std::string& expandedCopy,
                  const std::string& destination);
    bool PlaceFile(const std::string& source, const std::string& destination, bool replace);
    bool FoundEmpty(const std::string& destination);
    bool MoveAsideExisting(const std::string& destination, core::MovedAside& moved);
    bool PlaceFailed(const std::string& from, const std::string& destination, DWORD error);
    bool WriteExpandedCopy(const std::string& source, const std::string& target);
    void ApplyAttributes(const std::string& destination, int32_t flags);
    bool DownloadWebItem(const WebItem& item, const std::string& destination, size_t index, bool critical);

    InstallContext& ctx_;
    install::fileops::InheritedPermissions permissions_;
    std::optional<install::fileops::BackupFolders> backupFolders_;  // made with the first file replaced
    unsigned backups_ = 0;                           // files moved aside so far
    // Destination folders by whether they were empty when the first file
    // went into them: what lies in such a folder later is the run's own.
    std::unordered_map<std::string, bool> emptyFolders_;
};

// Whether a web item's condition lets it be downloaded: the project's
// condition of that name, asked without showing its outcome (an item without
// one, or naming none of the project's, is downloaded).
bool WebItemWanted(InstallContext& context, const std::string& condition) {
    return ConditionHolds(context, condition);
}

ActionResult FilePlacer::InstallRecord(size_t k, const FileRecord& r) {
    ctx_.SetProgressPosition(static_cast<int>(k));
    const std::string source = ctx_.PayloadFilePath(k, r.fileName);
    // A web item is named by its address, without the digest and condition parts.
    const bool web = core::filelist::IsWebItem(r.sourceLine);
    const WebItem item = web ? ParseWebItem(r.sourceLine) : WebItem();
    const std::string destination = ctx_.Expand(DestinationPath(r.destDir, web ? item.fileName : r.fileName));
    if (ctx_.CancelRequested()) return ActionResult::Stop;
    if (!SystemMaskMatches(r.systemMask, ctx_.Setup().osName)) return ActionResult::Continue;

    const bool permanent = HasFlag(r.flags, kFlagPermanent);
    const bool placedEarlier = ctx_.EarlierRunOwned(core::LogKind::File, destination);
    // A file the project now keeps after a removal: the copy an earlier run
    // placed is not taken away when this run commits.
    if (permanent && placedEarlier) ctx_.Log(core::LogKind::KeepFile, destination);
    const Skip skip = WhySkipped(r, web, item, source, destination, placedEarlier);
    if (skip != Skip::No) {
        // What lies there is not this run's: nothing claims it, its
        // attributes stay and it is not registered (the elevated run starts
        // nothing it did not place), unless an earlier run of the product
        // placed it and this version still wants it. One it no longer wants
        // goes when this run commits.
        if (skip == Skip::Kept && !permanent && placedEarlier) LogClaim(ctx_, core::LogKind::File, destination);
        return ActionResult::Continue;
    }
    // Logged before the file is placed: a run killed while placing it still
    // names it in its log, and a removal of what it got to misses nothing.
    if (!permanent) ctx_.Log(core::LogKind::File, destination);
    if (web) {
        if (!DownloadWebItem(item, destination, k, HasFlag(r.flags, kFlagCritical))) return ActionResult::Stop;
    } else {
        // The expanded copy goes into the working folder, never beside a
        // disk image's file on the distribution medium.
        const std::string expandedCopy =
            HasFlag(r.flags, kFlagExpandContent)
                ? ctx_.Setup().workingFolder + core::filelist::StoredName(k, r.fileName) + "2"
                : std::string();
        if (!CopyPayloadFile(source, expandedCopy, destination, HasFlag(r.flags, kFlagCritical)))
            return ActionResult::Stop;
    }
    if (HasFlag(r.flags, kFlagSelfRegister))
        StartSelfRegistration(ctx_.Setup().values.systemFolder, destination);
    ApplyAttributes(destination, r.flags);
    return ActionResult::Continue;
}

FilePlacer::Skip FilePlacer::WhySkipped(const FileRecord& r, bool web, const WebItem& item, const std::string& source,
                                        const std::string& destination, bool placedEarlier) {
    if (ctx_.Setup().features.IsExcluded(r.feature)) return Skip::NotWanted;
    if (web && !WebItemWanted(ctx_, item.condition)) return Skip::NotWanted;
    if (HasFlag(r.flags, kFlagOnlyIfAbsent) && core::folders::Exists(destination)) return Skip::Kept;
    if (!web && placedEarlier && AlreadyInPlace(r, source, destination)) return Skip::Kept;
    const bool newerThere = !web && IsVersionedLibrary(source) && core::folders::Exists(destination) &&
                            !ShouldReplaceByVersion(ReadFileVersionText(source), ReadFileVersionText(destination));
    return newerThere ? Skip::Kept : Skip::No;
}

// Whether the copy an earlier run placed already is what this run would
// place: the same bytes, with the attributes the entry gives. It stays as it
// is, so there is nothing to move aside and nothing a rollback must put
// back; a reinstall or an update touches only the files that changed. A file
// whose content the run expands, or which it registers, is placed anew, and
// so is a large one: comparing reads both copies whole, where moving the old
// one aside costs a rename whatever its size.
bool FilePlacer::AlreadyInPlace(const FileRecord& r, const std::string& source, const std::string& destination) {
    constexpr unsigned long long kLargestCompared = 1024 * 1024;
    if (HasFlag(r.flags, kFlagExpandContent) || HasFlag(r.flags, kFlagSelfRegister)) return false;
    install::fileops::SameFileQuestions questions;
    questions.acceptable = [&](DWORD attributes, unsigned long long size) {
        return size <= kLargestCompared && AttributesAfterInstall(attributes, r.flags) == attributes;
    };
    // Who may write it is what its folder passes on, as for a file placed now.
    questions.whenSame = [&](HANDLE file, PSECURITY_DESCRIPTOR current) {
        permissions_.Apply(file, destination, current);
    };
    if (!install::fileops::HoldsSameBytes(destination, source, questions)) return false;
    core::trace::Value("already in place", destination);
    return true;
}

// Copies one payload file, through its expanded copy when `expandedCopy`
// names one, asking the user what to do when it fails.
bool FilePlacer::CopyPayloadFile(const std::string& source, const std::string& expandedCopy,
                                 const std::string& destination, bool critical) {
    // From the first failure on, the path is marked as not the run's until
    // a try succeeds: a run killed while the question waits leaves what lies
    // there to the rollback that follows, and a placed file is named again.
    bool markedKept = false;
    for (;;) {
        if (TryPlace(source, expandedCopy, destination)) {
            if (markedKept) ctx_.Log(core::LogKind::File, destination);
            return true;
        }
        if (!markedKept) ctx_.Log(core::LogKind::KeepFile, destination);
        markedKept = true;

        const core::MessageId text = critical ? core::MessageId::CopyCriticalFailed : core::MessageId::CopyFailed;
        const ErrorChoice choice =
            ctx_.Ask({core::FormatText(core::EnglishText(text), {destination}), critical});
        if (critical || choice == ErrorChoice::Cancel) {
            ctx_.Abandon();
            return false;
        }
        // Ignore: whatever lies there (the file that was there before) stays.
        if (choice == ErrorChoice::Ignore) return true;
    }
}

// One try at placing a file. The expanded copy is made again at each try: a
// retry after a failed read or write starts over, and a placed copy has been
// moved away. A file already at the destination (read-only or not) is moved
// aside into the backup folder, logged as BACKUP, so that a rollback can put
// it back; it comes back at once when the new file cannot be placed, so that
// Ignore leaves it. Trying first without replacing saves a look at the
// destination for a new file in a folder that held files before.
bool FilePlacer::TryPlace(const std::string& source, const std::string& expandedCopy,
                          const std::string& destination) {
    if (!expandedCopy.empty() && !WriteExpandedCopy(source, expandedCopy)) {
        core::trace::Failure("expanded copy", source + " -> " + expandedCopy, GetLastError());
        return false;
    }
    const std::string& from = expandedCopy.empty() ? source : expandedCopy;
    // A folder that was empty holds nothing that was there before the run:
    // its files are placed replacing, without a look or a backup.
    const bool ownFolder = FoundEmpty(destination);
    if (PlaceFile(from, destination, ownFolder)) return true;
    const DWORD error = GetLastError();
    if (ownFolder || (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS))
        return PlaceFailed(from, destination, error);
    core::MovedAside moved;
    if (!MoveAsideExisting(destination, moved)) return PlaceFailed(from, destination, GetLastError());
    if (PlaceFile(from, destination, false)) return true;
    const DWORD placeError = GetLastError();
    install::fileops::PutBack(moved);
    return PlaceFailed(from, destination, placeError);
}

// The log names the failed placing with its call and the system's text; the
// error stays the thread's last for the question that follows.
bool FilePlacer::PlaceFailed(const std::string& from, const std::string& destination, DWORD error) {
    core::trace::Failure(ctx_.Setup().diskImage ? "CopyFileA" : "MoveFileExA", from + " -> " + destination, error);
    SetLastError(error);
    return false;
}

// Moves the file at the destination into the backup folder of its volume,
// under a name no file there has, logging the move before it is made: a run
// killed in between names a backup that is not there, which a rollback passes.
bool FilePlacer::MoveAsideExisting(const std::string& destination, core::MovedAside& moved) {
    const DWORD attributes = GetFileAttributesA(destination.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!backupFolders_)
        backupFolders_.emplace(UninstallFolderOf(ctx_), ctx_.Setup().values.productCode);
    return MoveAsideLogged(ctx_, *backupFolders_, backups_, destination, moved);
}

// Files extracted into the working folder are moved into place: the folder is
// deleted at the end of the run anyway, and a move costs a rename where a copy
// costs writing the file again and deleting it later. A moved file takes the
// permissions of its new folder, as a copy gets them. Files of a disk image
// are copied. Without `replace` neither replaces a file in place (see TryPlace).
bool FilePlacer::PlaceFile(const std::string& source, const std::string& destination, bool replace) {
    if (ctx_.Setup().diskImage) return CopyFileA(source.c_str(), destination.c_str(), replace ? FALSE : TRUE) != 0;
    return install::fileops::MoveReplacing(source, destination, permissions_, replace);
}

// Whether the destination's folder held nothing when the first file of the
// run went into it (one look per folder).
bool FilePlacer::FoundEmpty(const std::string& destination) {
    const size_t slash = destination.find_last_of('\\');
    if (slash == std::string::npos) return false;
    const std::string folder = destination.substr(0, slash);
    const auto known = emptyFolders_.find(folder);
    if (known != emptyFolders_.end()) return known->second;
    bool empty = false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        empty = true;
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") empty = false;
        } while (empty && FindNextFileA(find, &entry));
        FindClose(find);
    }
    emptyFolders_.emplace(folder, empty);
    return empty;
}

// Writes the source with its placeholders expanded to `target`. False when
// the source cannot be read or the copy cannot be written whole: the copy
// then fails as any other, where an empty or cut file would be installed.
bool FilePlacer::WriteExpandedCopy(const std::string& source, const std::string& target) {
    std::string text;
    return ReadWholeFile(source, text) && WriteWholeFile(target, ctx_.Expand(text));
}

void FilePlacer::ApplyAttributes(const std::string& destination, int32_t flags) {
    const DWORD current = GetFileAttributesA(destination.c_str());
    if (current == INVALID_FILE_ATTRIBUTES) return;
    const DWORD wanted = AttributesAfterInstall(current, flags);
    if (wanted != current) SetFileAttributesA(destination.c_str(), wanted);
}

// Downloads a web item to its destination, asking the user what to do when
// the transfer fails, as for a failed copy. False when the run stops: the
// user cancelled (during the transfer or at the question) or the run was
// abandoned. The transfer goes into the working folder, which only this run
// may write, and the file is placed from there as a payload file is: what
// lies at the destination stays untouched until the download is whole and
// checked, and is then moved aside for a rollback like any file it replaces.
bool FilePlacer::DownloadWebItem(const WebItem& item, const std::string& destination, size_t index, bool critical) {
    const std::string part = ctx_.Setup().workingFolder + "web" + std::to_string(index) + ".part";
    const download::TransferRequest request{item.address, part, item.sha256, item.badDigest};
    for (;;) {
        const download::TransferOutcome outcome =
            download::DownloadFile(request, ctx_.DownloadDisplay(), [this] { return ctx_.CancelRequested(); });
        if (outcome.result == download::TransferResult::Done) break;
        if (outcome.result == download::TransferResult::Cancelled) return false;

        const ErrorChoice choice = ctx_.Ask(
            {core::FormatText(core::EnglishText(core::MessageId::DownloadFailed), {item.address, outcome.reason}),
             false});
        if (choice == ErrorChoice::Retry) continue;
        // The file was logged before the transfer and was not placed: what
        // lies there, if anything, is not the run's.
        ctx_.Log(core::LogKind::KeepFile, destination);
        if (choice == ErrorChoice::Ignore) return true;
        ctx_.Abandon();
        return false;
    }
    return CopyPayloadFile(part, std::string(), destination, critical);
}

}  // namespace

ActionResult LoadFileData(InstallContext& ctx) {
    std::string text;
    if (!ReadWholeFile(ctx.Setup().dataPath, text)) {
        ctx.ReportError(1, core::EnglishText(core::MessageId::EngineFileDataFailed));
        ctx.Abandon();  // nothing could be installed
        return ActionResult::Stop;
    }
    std::vector<FileRecord>& records = ctx.FileRecords();
    // The list is written in the code page the system reads names in.
    records = core::filelist::ParseFileList(text, GetACP());
    ctx.Log(core::LogKind::TotalFile, std::to_string(records.size()));
    ctx.SetStatus(core::EnglishText(core::MessageId::StatusCreatingDirectories));
    CreateDirectoryPath(UninstallFolderOf(ctx));
    const std::string installDir = ctx.Expand("<InstallDir>");
    ctx.Log(core::LogKind::InstallDir, installDir);
    std::vector<std::string> made;
    CreateDirectoryPath(installDir, &made);
    LogFoldersMade(ctx, installDir, made);
    for (const std::string& dir : core::filelist::DistinctDirectories(records)) {
        const std::string expanded = ctx.Expand(DirectoryToCreate(dir));
        made.clear();
        CreateDirectoryPath(expanded, &made);
        LogFoldersMade(ctx, expanded, made);
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

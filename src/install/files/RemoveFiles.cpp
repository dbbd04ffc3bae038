#include "install/files/RemoveFiles.h"

#include <windows.h>

#include <algorithm>
#include <set>

#include "core/Trace.h"
#include "install/files/FileBackup.h"
#include "install/files/FileRemoval.h"
#include "install/files/LinkGuard.h"
#include "install/shared/UndoRules.h"

namespace install {

namespace {

using core::LogKind;

// The folders no removal deletes whole: those the uninstaller was given, the
// one it runs from and the product's uninstall folder, which the last step
// removes itself.
std::vector<std::string> KeptFolders(const UndoSetup& setup) {
    std::vector<std::string> kept = setup.protectedFolders;
    kept.push_back(setup.uninstallerFolder);
    kept.push_back(setup.uninstallFolder);
    return kept;
}

std::vector<std::string> Resolved(std::vector<std::string> folders) {
    for (std::string& folder : folders)
        if (!folder.empty()) folder = ResolvedFolder(folder);
    return folders;
}

void Report(UndoContext& context, RemovalOutcome outcome, const std::string& what) {
    if (outcome == RemovalOutcome::AtRestart) context.RestartNeeded(what);
    else if (outcome == RemovalOutcome::Failed) context.LeftOver(what);
}

// Files an original waits to replace (a BACKUP whose backup is there: a
// rollback): the put-back takes the run's file away, and a deletion at the
// next restart, were the run's file held now, would take the original.
std::set<std::string> OriginalsWaiting(const UndoContext& context) {
    std::set<std::string> waiting;
    for (const core::LogRecord& record : context.Records()) {
        core::MovedAside moved;
        if (record.kind == LogKind::Backup && core::ParseMovedAside(record.value, moved) && fileops::HasBackup(moved))
            waiting.insert(moved.path);
    }
    return waiting;
}

// Files the run logged but never placed: the last of their FILE and KEEPFILE
// records is a KEEPFILE (a copy that failed and was given up, ignored, or
// still waited for its answer when the run was killed).
std::set<std::string> NotPlaced(const UndoContext& context) {
    std::set<std::string> kept;
    for (const core::LogRecord& record : context.Records()) {
        if (record.kind == LogKind::KeepFile) kept.insert(record.value);
        else if (record.kind == LogKind::File) kept.erase(record.value);
    }
    return kept;
}

void RemoveLoggedFiles(UndoContext& context, LogKind kind) {
    std::vector<std::string> shared = context.Setup().protectedFolders;
    shared.push_back(context.Setup().uninstallerFolder);
    shared = Resolved(shared);
    const std::set<std::string> notPlaced = kind == LogKind::File ? NotPlaced(context) : std::set<std::string>();
    const std::set<std::string> replacedByOriginal = OriginalsWaiting(context);
    LinkGuard guard(GuardedFolders(context));
    for (const core::LogRecord* record : NewestFirst(context, kind)) {
        const std::string& path = record->value;
        const PathCheck check = path.empty() ? PathCheck::Gone : guard.Check(path);
        if (Refused(check))
            context.LeftOver(path);
        else if (check == PathCheck::Gone)
            ;  // its folder is gone: so is the file
        else if (!path.empty() && undorules::IsSharedUninstaller(ResolvedFolder(path), shared, GetACP()))
            core::trace::Value("shared uninstaller kept", path);
        else if (!path.empty() && notPlaced.count(path))
            core::trace::Value("file not placed by the run kept", path);
        else if (!path.empty() && replacedByOriginal.count(path))
            core::trace::Value("file left for its original to replace", path);
        else if (!path.empty())
            Report(context, RemoveFileNow(path), path);
        context.Advance();
    }
}

// Never in a rollback: the folder may hold what was there before the run.
bool RemoveAllRequested(UndoContext& context) {
    bool requested = false;
    for (const core::LogRecord* record : NewestFirst(context, LogKind::RemoveAll)) {
        requested = requested || record->value == "Yes";
        context.Advance();
    }
    return requested && !context.Setup().rollback;
}

// The installation folder with everything in it, under the remove-all rule.
// Folders are compared as the file system names them, so that a short name
// or a ".." cannot pass for another folder.
void RemoveInstallationFolder(UndoContext& context, const std::vector<const core::LogRecord*>& dirs) {
    if (dirs.empty()) return;
    const std::string& folder = dirs.back()->value;  // the oldest: the first DIR line
    std::vector<std::string> logged;
    for (const core::LogRecord* dir : dirs) logged.push_back(dir->value);
    if (!undorules::MayRemoveWholeFolder(ResolvedFolder(folder), Resolved(logged),
                                         Resolved(KeptFolders(context.Setup())), GetACP())) {
        core::trace::Value("installation folder not removed whole", folder);
        return;
    }
    LinkGuard guard(GuardedFolders(context));
    if (Refused(guard.Check(folder))) context.LeftOver(folder);
    else Report(context, RemoveFolderTree(folder, guard), folder);
}

void RemoveIfEmpty(UndoContext& context, const std::string& folder,
                   const std::vector<std::string>& kept) {
    for (const std::string& k : kept)
        if (undorules::IsSameOrBelow(k, folder, GetACP())) return;  // never a folder the system owns
    switch (RemoveEmptyFolder(folder)) {
        case FolderOutcome::Removed: return;
        case FolderOutcome::NotEmpty: core::trace::Value("folder kept, not empty", folder); return;
        case FolderOutcome::AtRestart: context.RestartNeeded(folder); return;
        case FolderOutcome::Failed: context.LeftOver(folder); return;
    }
}

}  // namespace

void RemoveShortcuts(UndoContext& context) { RemoveLoggedFiles(context, LogKind::Shortcut); }

void RemoveFiles(UndoContext& context) { RemoveLoggedFiles(context, LogKind::File); }

void RemoveFolders(UndoContext& context) {
    std::vector<const core::LogRecord*> dirs = NewestFirst(context, LogKind::Dir);
    if (RemoveAllRequested(context)) RemoveInstallationFolder(context, dirs);
    const unsigned codePage = GetACP();
    std::stable_sort(dirs.begin(), dirs.end(), [codePage](const core::LogRecord* a, const core::LogRecord* b) {
        return undorules::Depth(a->value, codePage) > undorules::Depth(b->value, codePage);
    });
    const std::vector<std::string> kept = Resolved(KeptFolders(context.Setup()));
    const std::vector<std::string> guarded = GuardedFolders(context);
    for (const core::LogRecord* dir : dirs) {
        const std::string& folder = dir->value;
        // A guard of its own for each: it holds the parents, which go later.
        LinkGuard guard(guarded);
        const PathCheck check = folder.empty() ? PathCheck::Gone : guard.Check(folder);
        if (Refused(check)) context.LeftOver(folder);
        else if (check == PathCheck::Sound) RemoveIfEmpty(context, ResolvedFolder(folder), kept);
        context.Advance();
    }
}

}  // namespace install

#include "install/ini/RestoreIniFiles.h"

#include <windows.h>

#include <string>

#include "core/Trace.h"
#include "install/ini/IniFiles.h"
#include "install/files/FileRemoval.h"
#include "install/files/LinkGuard.h"

namespace install {

namespace {

using core::IniEntry;
using core::LogKind;

// A section with no entry left in it; an absent one counts as empty.
bool SectionIsEmpty(const std::string& path, const std::string& section) {
    char probe[4] = "";
    return GetPrivateProfileSectionA(section.c_str(), probe, sizeof probe, path.c_str()) == 0;
}

bool FileHoldsNoEntry(const std::string& path) {
    for (const std::string& name : IniSectionNames(path))
        if (!SectionIsEmpty(path, name)) return false;
    return true;
}

void PutBack(UndoContext& context, LinkGuard& guard, const std::string& recordValue) {
    IniEntry entry;
    if (!core::ParseIniEntry(recordValue, entry)) {
        core::trace::Value("unreadable INIVAL", recordValue);
        context.LeftOver(recordValue);  // what it names may still be there
        return;
    }
    if (GetFileAttributesA(entry.path.c_str()) == INVALID_FILE_ATTRIBUTES) return;  // gone since: nothing to undo
    // Written through a link, the entry would land in whatever file it names.
    if (Refused(guard.CheckFile(entry.path))) {
        context.LeftOver(entry.path + " [" + entry.section + "] " + entry.key);
        return;
    }
    const char* section = entry.section.c_str();
    const char* path = entry.path.c_str();
    const bool done = entry.before == IniEntry::Before::Value
                          ? WritePrivateProfileStringA(section, entry.key.c_str(), entry.value.c_str(), path)
                          : WritePrivateProfileStringA(section, entry.key.c_str(), nullptr, path);
    if (!done) {
        core::trace::Failure("WritePrivateProfileStringA", entry.path, GetLastError());
        context.LeftOver(entry.path + " [" + entry.section + "] " + entry.key);
        return;
    }
    if (entry.before == IniEntry::Before::Nothing && SectionIsEmpty(entry.path, entry.section))
        WritePrivateProfileStringA(section, nullptr, nullptr, path);
}

void DeleteIfEmpty(UndoContext& context, LinkGuard& guard, const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    if (Refused(guard.CheckFile(path))) {
        context.LeftOver(path);
        return;
    }
    if (!FileHoldsNoEntry(path)) {
        core::trace::Value("INI file kept, it holds entries", path);
        return;
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // lets go of a cached copy
    switch (RemoveFileNow(path)) {
        case RemovalOutcome::Removed: return;
        case RemovalOutcome::AtRestart: context.RestartNeeded(path); return;
        case RemovalOutcome::Failed: context.LeftOver(path); return;
    }
}

}  // namespace

void RestoreIniFiles(UndoContext& context) {
    LinkGuard guard(GuardedFolders(context));
    for (const core::LogRecord* record : NewestFirst(context, LogKind::IniValue)) {
        PutBack(context, guard, record->value);
        context.Advance();
    }
    for (const core::LogRecord* record : NewestFirst(context, LogKind::IniFile)) {
        DeleteIfEmpty(context, guard, record->value);
        context.Advance();
    }
}

}  // namespace install

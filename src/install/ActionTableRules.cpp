#include "install/ActionTableRules.h"

#include <set>

namespace install::tables {

namespace {

using core::LogKind;
using core::MessageId;

// The program the product asks for runs first, while everything it may
// need is still there; the registration goes last, so that a removal that
// stopped half-way can be started again from the list of programs.
// Services stop before their files are deleted; the files a run replaced
// come back once its own are gone; folders go once their files have.
const std::vector<UndoStepRow> kUndoSteps = {
    {"RunUninstallTimeProgram", MessageId::StatusRunningUninstallProgram,
     {LogKind::Run3rd, LogKind::Run3rdCmd}, {}},
    {"RemoveServices", MessageId::StatusRemovingServices, {LogKind::NtService, LogKind::ServiceConfig}, {}},
    {"RemoveShortcuts", MessageId::StatusRemovingShortcuts, {LogKind::Shortcut}, {}},
    {"RemoveFiles", MessageId::StatusRemovingFiles, {LogKind::File, LogKind::KeepFile}, {}},
    // Entries first: a copy of a file written into (BACKUP) then comes back whole.
    {"RestoreIniFiles", MessageId::StatusRemovingFiles, {LogKind::IniValue, LogKind::IniFile}, {}},
    {"RestoreReplacedFiles", MessageId::StatusRestoringFiles, {LogKind::Backup, LogKind::BackupSum}, {}},
    {"RestoreEnvironment", MessageId::StatusRestoringEnvironment, {LogKind::EnvAppend, LogKind::EnvKept},
     {LogKind::RegVal}},
    {"RemoveRegistryValues", MessageId::StatusRemovingRegistry,
     {LogKind::RegVal, LogKind::RegPrev, LogKind::RegKey}, {}},
    {"UnregisterAssociations", MessageId::StatusRemovingAssociations, {LogKind::RemKey, LogKind::RegOld}, {}},
    {"RemoveFolders", MessageId::StatusRemovingFolders, {LogKind::Dir, LogKind::RemoveAll}, {}},
    {"UnregisterUninstall", MessageId::StatusRemovingRegistration, {}, {}},
};

// Order matters: the file list is loaded before anything is placed, and the
// working folder goes last, once nothing reads payload files any more.
const std::vector<ActionRow> kActions = {
    {"LoadFileData", MessageId::StatusLoadingData, true,
     {LogKind::TotalFile, LogKind::InstallDir, LogKind::Dir, LogKind::UndoBy}, {"RemoveFolders"}},
    {"RegisterUninstallTimeProgram", std::nullopt, true,
     {LogKind::Run3rd, LogKind::Run3rdCmd, LogKind::RemoveAll}, {"RunUninstallTimeProgram", "RemoveFolders"}},
    {"InstallFiles", MessageId::StatusCopyingFiles, false,
     {LogKind::File, LogKind::KeepFile, LogKind::Backup, LogKind::BackupSum, LogKind::UndoBy},
     {"RemoveFiles", "RestoreReplacedFiles"}},
    {"CreateShortcuts", MessageId::StatusCreatingShortcuts, false,
     {LogKind::Shortcut, LogKind::Dir, LogKind::File, LogKind::Backup, LogKind::BackupSum, LogKind::UndoBy},
     {"RemoveShortcuts", "RemoveFiles", "RemoveFolders", "RestoreReplacedFiles"}},
    {"WriteIniFiles", MessageId::StatusSettingSystem, false,
     {LogKind::IniFile, LogKind::IniValue, LogKind::Backup, LogKind::BackupSum, LogKind::UndoBy},
     {"RestoreIniFiles", "RestoreReplacedFiles"}},
    {"WriteRegistryValues", std::nullopt, false, {LogKind::RegKey, LogKind::RegVal, LogKind::RegPrev, LogKind::UndoBy},
     {"RemoveRegistryValues"}},
    {"RegisterAssociations", std::nullopt, false,
     {LogKind::RemKey, LogKind::RegVal, LogKind::RegOld, LogKind::File, LogKind::UndoBy},
     {"UnregisterAssociations", "RemoveRegistryValues", "RemoveFiles"}},
    {"WriteEnvironment", std::nullopt, false,
     {LogKind::EnvAppend, LogKind::EnvKept, LogKind::RegVal, LogKind::RegPrev, LogKind::UndoBy},
     {"RestoreEnvironment", "RemoveRegistryValues"}},
    {"InstallServices", std::nullopt, true, {LogKind::NtService, LogKind::ServiceConfig, LogKind::UndoBy},
     {"RemoveServices"}},
    // The registration itself is found by the product code, not by a record;
    // the values of a registration it rewrites wait for a rollback.
    {"RegisterUninstall", MessageId::StatusFinishing, false,
     {LogKind::File, LogKind::RegVal, LogKind::RegPrev, LogKind::UndoBy, LogKind::Backup, LogKind::BackupSum},
     {"UnregisterUninstall", "RemoveFiles", "RemoveRegistryValues", "RestoreReplacedFiles"}},
    {"RemoveTemporaryFiles", std::nullopt, false, {}, {}},
};

bool Holds(const std::vector<LogKind>& kinds, LogKind kind) {
    for (LogKind k : kinds)
        if (k == kind) return true;
    return false;
}

}  // namespace

const std::vector<UndoStepRow>& UndoSteps() { return kUndoSteps; }
const std::vector<ActionRow>& Actions() { return kActions; }

const UndoStepRow* FindUndoStep(const std::string& name) {
    for (const UndoStepRow& step : kUndoSteps)
        if (name == step.name) return &step;
    return nullptr;
}

const UndoStepRow* ConsumerOf(LogKind kind) {
    for (const UndoStepRow& step : kUndoSteps)
        if (Holds(step.consumes, kind)) return &step;
    return nullptr;
}

std::vector<std::string> TableProblems() {
    std::vector<std::string> problems;
    for (LogKind kind : core::KnownLogKinds()) {
        int consumers = 0;
        for (const UndoStepRow& step : kUndoSteps) consumers += Holds(step.consumes, kind) ? 1 : 0;
        // A header line describes the log: no step may take it for a change.
        if (consumers != (core::IsHeaderKind(kind) ? 0 : 1))
            problems.push_back(std::string(core::KeyOf(kind)) + " is consumed by " + std::to_string(consumers) +
                               " steps");
    }
    std::set<std::string> names;
    for (const UndoStepRow& step : kUndoSteps)
        if (!names.insert(step.name).second) problems.push_back(std::string("two undo steps are named ") + step.name);
    for (const ActionRow& action : kActions) {
        for (const char* step : action.undoneBy)
            if (!FindUndoStep(step)) problems.push_back(std::string(action.name) + " names no step " + step);
        for (LogKind kind : action.logs) {
            if (core::IsHeaderKind(kind)) continue;
            const UndoStepRow* consumer = ConsumerOf(kind);
            bool undone = false;
            for (const char* step : action.undoneBy) undone = undone || (consumer && consumer->name == std::string(step));
            if (!undone)
                problems.push_back(std::string(action.name) + " logs " + core::KeyOf(kind) +
                                   ", which none of its undo steps consumes");
        }
        for (const char* step : action.undoneBy) {
            const UndoStepRow* row = FindUndoStep(step);
            bool used = false;
            for (LogKind kind : action.logs) used = used || (row && Holds(row->consumes, kind));
            // The registration's step removes what no record names.
            if (row && !used && !row->consumes.empty())
                problems.push_back(std::string(action.name) + " names " + step + " but logs nothing it consumes");
        }
    }
    return problems;
}

std::vector<const core::LogRecord*> UnconsumedRecords(const std::vector<core::LogRecord>& records) {
    std::vector<const core::LogRecord*> left;
    for (const core::LogRecord& record : records)
        if (!ConsumerOf(record.kind) && !core::IsHeaderKind(record.kind)) left.push_back(&record);
    return left;
}

std::string LineOf(const core::LogRecord& record) {
    // A line without "=" was kept whole as its key.
    return record.value.empty() && record.kind == LogKind::Unknown ? record.key : record.key + "=" + record.value;
}

}  // namespace install::tables

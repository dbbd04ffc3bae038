// The two tables of an installation, as declarations that need no Windows
// call: the install actions in the order a run performs them, each with the
// record kinds it may write to the uninstall log and the undo steps that
// take those records back; and the undo steps in the order a removal (or a
// rollback) performs them, each with the record kinds it consumes. The
// functions behind the rows are bound by name in InstallActions.cpp and
// UndoActions.cpp. TableProblems() says whether the two agree: every kind but
// the header lines (core::IsHeaderKind) is consumed by exactly one step, and
// an action's undo steps consume every such kind it writes; a native test
// holds it empty.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "core/UninstallLog.h"

namespace install::tables {

struct UndoStepRow {
    const char* name;                       // "RemoveFiles"
    std::optional<core::MessageId> status;  // shown when the step's turn comes
    // The kinds this step undoes (or, for the header, accounts for): each
    // kind has exactly one consuming step.
    std::vector<core::LogKind> consumes;
    // Kinds another step consumes that this one reads too: the environment
    // step puts back the variables among REGVAL records, the folder step
    // reads the remove-all choice, the file step the failed copies.
    std::vector<core::LogKind> alsoReads;
};

struct ActionRow {
    const char* name;                       // "InstallFiles"
    std::optional<core::MessageId> status;  // shown when the action's turn comes, even in preview
    bool runsInPreview;                     // preview runs show the steps without changing the machine
    std::vector<core::LogKind> logs;        // every kind it may write
    std::vector<const char*> undoneBy;      // the steps that consume them; empty when it logs nothing
};

// The undo steps in the order a removal performs them.
const std::vector<UndoStepRow>& UndoSteps();
// The install actions in the order a run performs them.
const std::vector<ActionRow>& Actions();

// The step of that name, or null.
const UndoStepRow* FindUndoStep(const std::string& name);
// The step that consumes `kind`, or null (Unknown has none).
const UndoStepRow* ConsumerOf(core::LogKind kind);

// What the tables get wrong, one text a fault ("REGVAL is consumed by 2
// steps"); empty when they agree.
std::vector<std::string> TableProblems();

// The records of a log no step consumes, in file order: unknown kinds
// (a newer product's log) and any kind the tables leave out. A removal or a
// rollback reports them as left alone, never skips them silently.
std::vector<const core::LogRecord*> UnconsumedRecords(const std::vector<core::LogRecord>& records);
// A record as its log line reads, without the line end: "KEY=VALUE", or the
// bare key of a line that held no "=".
std::string LineOf(const core::LogRecord& record);

}  // namespace install::tables

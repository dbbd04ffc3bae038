// How a run goes on or ends once the installation has run: one decision,
// taken after the engine, after the add-on programs and at Finish, from what
// happened so far. It names the page to show, the exit code the run ends
// with (ExitCodes.h) and whether a completed installation stands or is taken
// back. Exit code 0 is only ever given with the installation kept.
#pragma once

namespace core::ending {

// Where the run is when it asks.
enum class Moment {
    AfterEngine,  // the installation engine has returned
    AfterAddOns,  // the add-on programs and merge modules have run
    AtPage,       // a page's file actions or conditions have run
    AtFinish      // Finish (or leaving the last page), its file actions and conditions run
};

// What the installation engine did; NotRun before it was handed the run.
enum class EngineResult { NotRun, Completed, Cancelled, Abandoned, Failed };

struct RunFacts {
    Moment moment = Moment::AfterEngine;
    EngineResult engine = EngineResult::NotRun;
    bool unattended = false;
    // The user confirmed leaving, or a condition ran CancelInstall();, at any
    // time before this decision.
    bool cancelRequested = false;
    // A file action gave up the setup (its library answered so).
    bool abandoned = false;
    bool addOnsPending = false;    // add-on programs or merge modules still to run
    bool addOnFailed = false;      // one of them could not start or failed
    bool restartRequired = false;  // one of them asked for a restart
};

enum class NextStep {
    NextPage,      // the wizard goes on
    AddOnPage,     // the add-on page, then the add-on programs
    Finish,        // an unattended run finishes as if Finish were clicked
    CompletePage,  // the complete page in its cancelled form; leaving it ends with the exit code
    ErrorPage,     // the error page; leaving it ends with the exit code
    End            // the setup ends now with the exit code
};

// What becomes of an installation that completed.
enum class Installation {
    Pending,   // not decided yet: the run goes on
    Kept,      // it stands: its backups go, the uninstaller takes over
    RolledBack // taken back (nothing to do when it did not complete: the engine undid it)
};

struct RunEnding {
    NextStep next = NextStep::NextPage;
    int exitCode = 0;  // meaningful unless the run goes on (NextPage, AddOnPage, Finish)
    Installation installation = Installation::Pending;
};

RunEnding DecideEnding(const RunFacts& facts);

// 0, 6 or 3010: the codes of a run that installed.
bool IsInstalledCode(int exitCode);

}  // namespace core::ending

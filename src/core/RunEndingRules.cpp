#include "core/RunEndingRules.h"

#include "core/ExitCodes.h"

namespace core::ending {

namespace {

// Stopped without installing: a page says so, or an unattended run ends.
RunEnding Stopped(const RunFacts& f, NextStep interactivePage, int exitCode) {
    return {f.unattended ? NextStep::End : interactivePage, exitCode, Installation::RolledBack};
}

// Whatever stopped the run before its end: nothing of it stays.
bool StoppedRun(const RunFacts& f, RunEnding* ending) {
    if (f.engine == EngineResult::Failed) {
        *ending = Stopped(f, NextStep::ErrorPage, kExitFailed);
        return true;
    }
    // A file action's library gave up the setup: the error page says so.
    if (f.abandoned && f.engine != EngineResult::Cancelled && !f.cancelRequested) {
        *ending = Stopped(f, NextStep::ErrorPage, kExitAbandoned);
        return true;
    }
    // A cancel that came while the engine finished its last step still
    // counts: exit code 1 says nothing was installed, so nothing may stay.
    if (f.cancelRequested || f.engine == EngineResult::Cancelled) {
        *ending = Stopped(f, NextStep::CompletePage, kExitAbandoned);
        return true;
    }
    if (f.engine == EngineResult::Abandoned) {
        *ending = Stopped(f, NextStep::ErrorPage, kExitAbandoned);
        return true;
    }
    return false;
}

}  // namespace

bool IsInstalledCode(int exitCode) {
    return exitCode == kExitInstalled || exitCode == kExitAddOnFailed || exitCode == kExitRestartRequired;
}

namespace {

int InstalledCode(const RunFacts& f) {
    if (f.addOnFailed) return kExitAddOnFailed;
    if (f.restartRequired) return kExitRestartRequired;
    return kExitInstalled;
}

}  // namespace

RunEnding DecideEnding(const RunFacts& f) {
    RunEnding ending;
    if (StoppedRun(f, &ending)) {
        // A cancel at Finish, or Finish on the cancelled complete page: the
        // page has been seen, the setup ends.
        if (f.moment == Moment::AtFinish && ending.next == NextStep::CompletePage) ending.next = NextStep::End;
        return ending;
    }
    switch (f.moment) {
    case Moment::AfterEngine:
        if (f.addOnsPending) return {NextStep::AddOnPage, 0, Installation::Pending};
        [[fallthrough]];
    case Moment::AfterAddOns:
    case Moment::AtPage:
        return {f.unattended ? NextStep::Finish : NextStep::NextPage, 0, Installation::Pending};
    case Moment::AtFinish:
        break;
    }
    return {NextStep::End, InstalledCode(f), Installation::Kept};
}

}  // namespace core::ending

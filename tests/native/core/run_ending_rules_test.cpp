// How a run ends, over every combination of what can have happened: exit
// code 0 only with the installation kept, nothing kept after a cancel or a
// failure, no page for an unattended run to wait on.
#include <gtest/gtest.h>

#include <set>

#include "core/ExitCodes.h"
#include "core/RunEndingRules.h"

namespace {

using namespace core::ending;

std::vector<RunFacts> EveryCombination() {
    std::vector<RunFacts> all;
    for (Moment m : {Moment::AfterEngine, Moment::AfterAddOns, Moment::AtPage, Moment::AtFinish})
        for (EngineResult e : {EngineResult::NotRun, EngineResult::Completed, EngineResult::Cancelled,
                               EngineResult::Abandoned, EngineResult::Failed})
            for (int bits = 0; bits < 64; ++bits)
                all.push_back({m, e, (bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0,
                               (bits & 16) != 0, (bits & 32) != 0});
    return all;
}

bool GoesOn(NextStep n) { return n == NextStep::NextPage || n == NextStep::AddOnPage || n == NextStep::Finish; }

TEST(RunEnding, EveryCombinationKeepsItsPromises) {
    const std::set<int> installedCodes = {core::kExitInstalled, core::kExitAddOnFailed, core::kExitRestartRequired};
    for (const RunFacts& f : EveryCombination()) {
        const RunEnding e = DecideEnding(f);
        SCOPED_TRACE(::testing::Message() << "moment " << int(f.moment) << " engine " << int(f.engine)
                                          << " unattended " << f.unattended << " cancel " << f.cancelRequested
                                          << " abandoned " << f.abandoned << " → next " << int(e.next)
                                          << " code " << e.exitCode);
        const bool stopped = f.cancelRequested || f.abandoned || f.engine == EngineResult::Cancelled ||
                             f.engine == EngineResult::Abandoned || f.engine == EngineResult::Failed;
        // The run goes on exactly when nothing stopped it and Finish is not yet reached.
        EXPECT_EQ(GoesOn(e.next), !stopped && f.moment != Moment::AtFinish);
        EXPECT_EQ(e.installation == Installation::Pending, GoesOn(e.next));
        if (GoesOn(e.next)) continue;
        // An installed code is given with the installation kept, and only then.
        EXPECT_EQ(installedCodes.count(e.exitCode) == 1, e.installation == Installation::Kept);
        EXPECT_EQ(IsInstalledCode(e.exitCode), e.installation == Installation::Kept);
        EXPECT_EQ(e.installation == Installation::RolledBack, stopped);
        const int stoppedCode = f.engine == EngineResult::Failed ? core::kExitFailed : core::kExitAbandoned;
        EXPECT_TRUE(!stopped || e.exitCode == stoppedCode);
        // Nobody is there to leave a page of an unattended run.
        EXPECT_TRUE(!f.unattended || e.next == NextStep::End);
        EXPECT_TRUE(f.moment != Moment::AtFinish || e.next != NextStep::CompletePage);
    }
}

TEST(RunEnding, PagesAndCodesOfEachEnding) {
    auto decide = [](Moment m, EngineResult e, bool unattended, bool cancel = false) {
        RunFacts f;
        f.moment = m, f.engine = e, f.unattended = unattended, f.cancelRequested = cancel;
        return DecideEnding(f);
    };
    const EngineResult done = EngineResult::Completed;
    EXPECT_EQ(decide(Moment::AfterEngine, EngineResult::Cancelled, false).next, NextStep::CompletePage);
    EXPECT_EQ(decide(Moment::AfterEngine, EngineResult::Abandoned, false).next, NextStep::ErrorPage);
    EXPECT_EQ(decide(Moment::AfterEngine, EngineResult::Failed, false).next, NextStep::ErrorPage);
    EXPECT_EQ(decide(Moment::AfterEngine, done, false).next, NextStep::NextPage);
    EXPECT_EQ(decide(Moment::AfterEngine, done, true).next, NextStep::Finish);
    // A cancel confirmed as the engine completed its last step takes the run back.
    EXPECT_EQ(decide(Moment::AfterEngine, done, false, true).installation, Installation::RolledBack);
    // A condition's CancelInstall(); among the add-ons, or at Finish.
    EXPECT_EQ(decide(Moment::AfterAddOns, done, false, true).next, NextStep::CompletePage);
    EXPECT_EQ(decide(Moment::AtFinish, done, false, true).next, NextStep::End);

    RunFacts f;
    f.moment = Moment::AfterEngine, f.engine = done, f.addOnsPending = true;
    EXPECT_EQ(DecideEnding(f).next, NextStep::AddOnPage);
    f.moment = Moment::AtFinish, f.restartRequired = true;
    EXPECT_EQ(DecideEnding(f).exitCode, core::kExitRestartRequired);
    f.addOnFailed = true;  // a failure says more than a restart request
    EXPECT_EQ(DecideEnding(f).exitCode, core::kExitAddOnFailed);
    f.abandoned = true;    // a file action gave up at Finish: the error page says so
    EXPECT_EQ(DecideEnding(f).next, NextStep::ErrorPage);
}

}  // namespace

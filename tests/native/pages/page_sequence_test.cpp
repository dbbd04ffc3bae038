// Page list moves and command dispatch, without windows.
#include <gtest/gtest.h>

#include "pages/PageSequence.h"

namespace {

using pages::wizard::CommandAction;
using pages::wizard::MoveState;
using pages::wizard::PageSequence;
using pages::wizard::PageToShow;

const std::vector<std::string> kPages = {"welcome.lcd",     "setuptype.lcd", "customsetup.lcd",
                                         "destination.lcd", "ready.lcd",     "progress.lcd",
                                         "complete.lcd"};

bool NoActions(const std::string&) { return true; }

// Walks Next n times and returns the layouts shown.
std::vector<std::string> Walk(PageSequence& seq, const MoveState& s, int n) {
    std::vector<std::string> shown;
    for (int i = 0; i < n; ++i) {
        PageToShow p;
        if (seq.Next(s, NoActions, p)) shown.push_back(p.layout);
    }
    return shown;
}

TEST(PageSequence, NextSkipsCustomSetupForTypicalAndMinimal) {
    for (int type : {pages::wizard::kSetupTypeTypical, pages::wizard::kSetupTypeMinimal}) {
        PageSequence seq;
        seq.SetPages(kPages);
        MoveState s;
        s.setupType = type;
        EXPECT_EQ(Walk(seq, s, 3), (std::vector<std::string>{"welcome.lcd", "setuptype.lcd",
                                                             "destination.lcd"}));
        EXPECT_EQ(seq.Index(), 3);
    }
}

TEST(PageSequence, CustomOrUnchosenTypeSkipsNothing) {
    for (int type : {pages::wizard::kSetupTypeCustom, -1}) {
        PageSequence seq;
        seq.SetPages(kPages);
        MoveState s;
        s.setupType = type;
        EXPECT_EQ(Walk(seq, s, 3), (std::vector<std::string>{"welcome.lcd", "setuptype.lcd",
                                                             "customsetup.lcd"}));
    }
}

TEST(PageSequence, BackStepsOverCustomSetupAndStopsAtTheFirstPage) {
    PageSequence seq;
    seq.SetPages(kPages);
    MoveState s;
    s.setupType = pages::wizard::kSetupTypeTypical;
    Walk(seq, s, 3);  // on destination.lcd
    PageToShow p;
    ASSERT_TRUE(seq.Previous(s, p));
    EXPECT_EQ(p.layout, "setuptype.lcd");
    EXPECT_EQ(p.index, 1);
    ASSERT_TRUE(seq.Previous(s, p));
    EXPECT_EQ(p.layout, "welcome.lcd");
    ASSERT_TRUE(seq.Previous(s, p));  // Back on the first page shows it again
    EXPECT_EQ(p.layout, "welcome.lcd");
    EXPECT_EQ(p.index, 0);
    EXPECT_EQ(p.count, 7);
}

TEST(PageSequence, PagesCarryTheirIndexAndTheCount) {
    PageSequence seq;
    seq.SetPages(kPages);
    MoveState s;
    PageToShow p;
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    EXPECT_EQ(p.index, 0);
    EXPECT_EQ(p.count, 7);
    EXPECT_FALSE(p.hidden);
}

TEST(PageSequence, CancelledOrFinishedStopsNextAndCompleteIsTheLastPage) {
    PageSequence seq;
    seq.SetPages(kPages);
    MoveState s;
    Walk(seq, s, 2);
    s.cancelled = true;
    PageToShow p;
    EXPECT_FALSE(seq.Next(s, NoActions, p));
    p = seq.Complete();
    EXPECT_EQ(p.layout, "complete.lcd");
    EXPECT_EQ(p.index, 7);
    EXPECT_EQ(p.count, 7);
    s.cancelled = false;
    s.finished = true;
    EXPECT_FALSE(seq.Next(s, NoActions, p));
}

TEST(PageSequence, PageActionsThatCancelStopTheMove) {
    PageSequence seq;
    seq.SetPages(kPages);
    MoveState s;
    std::vector<std::string> ran;
    PageToShow p;
    EXPECT_FALSE(seq.Next(s, [&](const std::string& page) { ran.push_back(page); return false; }, p));
    EXPECT_EQ(ran, std::vector<std::string>{"welcome.lcd"});
}

TEST(PageSequence, UnattendedFirstMoveCreatesTheHiddenProgressPage) {
    PageSequence seq;
    seq.SetPages(kPages);
    MoveState s;
    s.unattended = true;
    PageToShow p;
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    EXPECT_EQ(p.layout, "progress.lcd");
    EXPECT_EQ(p.index, pages::wizard::kOutsideListIndex);
    EXPECT_EQ(p.count, pages::wizard::kOutsideListCount);
    EXPECT_TRUE(p.hidden);
    ASSERT_TRUE(seq.Next(s, NoActions, p));  // later moves follow the list
    EXPECT_EQ(p.layout, "setuptype.lcd");
    EXPECT_FALSE(p.hidden);

    // Without any page, the run still installs before its complete page.
    seq.SetPages({});
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    EXPECT_EQ(p.layout, "progress.lcd");
    EXPECT_TRUE(p.hidden);
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    EXPECT_EQ(p.layout, "complete.lcd");
}

TEST(PageSequence, ListLimitsAndEnd) {
    std::vector<std::string> many;
    for (int i = 0; i < 30; ++i) many.push_back("p" + std::to_string(i) + ".lcd");
    PageSequence seq;
    seq.SetPages(many);
    EXPECT_EQ(seq.Count(), pages::wizard::kMaxPages);
    EXPECT_EQ(seq.Entry(20), "");
    EXPECT_EQ(seq.Entry(-1), "");
    // Next past the last entry leads to the complete page, never a nameless one.
    seq.SetPages({"a.lcd"});
    MoveState s;
    PageToShow p;
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    ASSERT_TRUE(seq.Next(s, NoActions, p));
    EXPECT_EQ(p.layout, "complete.lcd");
    EXPECT_EQ(p.index, 1);
    PageSequence empty;
    EXPECT_FALSE(empty.Previous(s, p));
}

TEST(PageCommands, DispatchByNameAndClickCode) {
    MoveState s;
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_NEXT", 0, s), CommandAction::Next);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_BACK", 0, s), CommandAction::Previous);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_BUTTON1", 1, s), CommandAction::Next);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDB_BITMAP1", 2, s), CommandAction::Previous);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_BROWSE", 0, s), CommandAction::Ignore);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDYES", 1, s), CommandAction::Ignore);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_FINISH", 0, s), CommandAction::Finish);
    s.cancelled = true;
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_NEXT", 0, s), CommandAction::CompletePage);
    s.finished = true;
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_NEXT", 0, s), CommandAction::Ignore);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_BACK", 0, s), CommandAction::Ignore);
    EXPECT_EQ(pages::wizard::DispatchCommand("IDC_FINISH", 0, s), CommandAction::Finish);
}

TEST(PageCommands, TitlesNameLayoutFiles) {
    EXPECT_EQ(pages::wizard::LayoutForPageTitle("Setup Type"), "setuptype.lcd");
    EXPECT_EQ(pages::wizard::LayoutForPageTitle("Installation Start"), "start.lcd");
    EXPECT_EQ(pages::wizard::LayoutForPageTitle("mine.lcd"), "mine.lcd");
    EXPECT_EQ(pages::wizard::LayoutForPageTitle("setup type"), "setup type");
}

}  // namespace

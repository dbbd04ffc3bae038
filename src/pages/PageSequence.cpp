#include "pages/PageSequence.h"

#include <algorithm>

namespace pages::wizard {
namespace {


struct TitledPage {
    const char* title;
    const char* layout;
};
const TitledPage kTitles[] = {
    {"Install Welcome", "welcome.lcd"},       {"License Agreement", "license.lcd"},
    {"Readme Dialog", "readme.lcd"},          {"Customer Information", "customer.lcd"},
    {"Destination Folder", "destination.lcd"}, {"Setup Type", "setuptype.lcd"},
    {"Custom Setup", "customsetup.lcd"},      {"Ready to Install", "ready.lcd"},
    {"Setup Progress", "progress.lcd"},       {"Setup Complete", "complete.lcd"},
    {"Installation Start", "start.lcd"},
};

bool TypicalOrMinimal(const MoveState& s) {
    return s.setupType == kSetupTypeTypical || s.setupType == kSetupTypeMinimal;
}

}  // namespace

CommandAction DispatchCommand(const std::string& control, int clickCode, const MoveState& s) {
    if (control == "IDC_FINISH") return CommandAction::Finish;
    if (s.finished) return CommandAction::Ignore;
    if (control == "IDYES" || control == "IDNO") return CommandAction::Ignore;
    if (control == "IDC_BACK" || clickCode == 2) return CommandAction::Previous;
    if (control == "IDC_NEXT" || clickCode == 1)
        return s.cancelled ? CommandAction::CompletePage : CommandAction::Next;
    return CommandAction::Ignore;
}

std::string LayoutForPageTitle(const std::string& title) {
    for (const TitledPage& t : kTitles)
        if (title == t.title) return t.layout;
    return title;
}

void PageSequence::SetPages(const std::vector<std::string>& pages) {
    pages_.assign(pages.begin(), pages.begin() + std::min<size_t>(pages.size(), kMaxPages));
    index_ = -1;
    unattendedProgressCreated_ = false;
}

std::string PageSequence::Entry(int i) const {
    return i >= 0 && i < Count() ? pages_[static_cast<size_t>(i)] : std::string();
}

bool PageSequence::SkipsFollowingPage(const MoveState& s, const std::string& entry) const {
    return TypicalOrMinimal(s) && entry == "setuptype.lcd";
}

bool PageSequence::Next(const MoveState& s,
                        const std::function<bool(const std::string&)>& runPageActions,
                        PageToShow& out) {
    if (s.finished || s.cancelled) return false;
    if (SkipsFollowingPage(s, Entry(index_))) ++index_;
    ++index_;
    // An unattended run installs even when its page list is empty or too
    // short to reach a page: its complete page would wait for nobody.
    if (index_ >= Count() && s.unattended && !unattendedProgressCreated_) {
        unattendedProgressCreated_ = true;
        index_ = Count();
        out = {kProgressPage, kOutsideListIndex, kOutsideListCount, true};
        return true;
    }
    // Past the end of the list there is no page to show but the complete page:
    // a nameless page would be an empty window without buttons.
    if (index_ >= Count()) {
        index_ = Count();
        out = {kCompletePage, Count(), Count(), false};
        return true;
    }
    if (runPageActions && !runPageActions(Entry(index_))) return false;
    if (s.unattended && !unattendedProgressCreated_) {
        unattendedProgressCreated_ = true;
        out = {kProgressPage, kOutsideListIndex, kOutsideListCount, true};
        return true;
    }
    out = {Entry(index_), index_, Count(), false};
    return true;
}

bool PageSequence::Previous(const MoveState& s, PageToShow& out) {
    --index_;
    if (TypicalOrMinimal(s) && Entry(index_) == "customsetup.lcd") --index_;
    if (index_ < 1) index_ = 0;
    if (Count() == 0) return false;
    if (index_ >= Count()) index_ = Count() - 1;
    out = {Entry(index_), index_, Count(), false};
    return true;
}

PageToShow PageSequence::Complete() {
    index_ = std::min(index_ + 1, Count());
    return {kCompletePage, Count(), Count(), false};
}

}  // namespace pages::wizard

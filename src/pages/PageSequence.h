// The wizard's page list and its moves: next, previous, complete page, and
// the dispatch of page commands. Pure rules; the wizard creates the windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pages::wizard {

constexpr int kMaxPages = 20;

// The page that runs the installation.
constexpr char kProgressPage[] = "progress.lcd";
// Index and count of pages created outside the list (start page, hidden
// progress page of an unattended run).
constexpr int kOutsideListIndex = -1;
constexpr int kOutsideListCount = 50;

// The language page, shown before the start-up goes on.
constexpr char kLanguagePage[] = "askuser.lcd";

// The page that ends the wizard: shown after the installation, a cancel or an abort.
constexpr char kCompletePage[] = "complete.lcd";

constexpr int kSetupTypeTypical = 0;
constexpr int kSetupTypeMinimal = 1;
constexpr int kSetupTypeCustom = 2;

// The setup-state values the moves read.
struct MoveState {
    int setupType = -1;
    bool cancelled = false;
    bool finished = false;
    bool unattended = false;
};

// A page to create: layout file name, index and count; hidden for the
// unattended progress page.
struct PageToShow {
    std::string layout;
    int index = 0;
    int count = 0;
    bool hidden = false;
};

// What the main frame does with a page command.
enum class CommandAction { Finish, Ignore, Previous, Next, CompletePage };
CommandAction DispatchCommand(const std::string& control, int clickCode, const MoveState& s);

// The layout file a page title names ("Setup Type" gives "setuptype.lcd");
// any other text is taken as a file name.
std::string LayoutForPageTitle(const std::string& title);

class PageSequence {
public:
    // Keeps the first kMaxPages entries; the index goes back to -1.
    void SetPages(const std::vector<std::string>& pages);
    int Count() const { return static_cast<int>(pages_.size()); }
    int Index() const { return index_; }
    std::string Entry(int i) const;

    // Next page. runPageActions runs the actions bound to the page about to
    // be shown and returns false when they cancelled the setup. Returns false
    // when nothing is to be shown.
    bool Next(const MoveState& s, const std::function<bool(const std::string&)>& runPageActions,
              PageToShow& out);
    bool Previous(const MoveState& s, PageToShow& out);
    // The complete page after a cancel or an abort: counted as the last page.
    PageToShow Complete();

private:
    bool SkipsFollowingPage(const MoveState& s, const std::string& entry) const;

    std::vector<std::string> pages_;
    int index_ = -1;
    bool unattendedProgressCreated_ = false;
};

}  // namespace pages::wizard

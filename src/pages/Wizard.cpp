#include "pages/Wizard.h"

#include <shellapi.h>

#include "core/ExitCodes.h"
#include "core/Settings.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/ShellFileOps.h"
#include "core/SettingsKeys.h"
#include "pages/CancelDialog.h"
#include "pages/FileActions.h"
#include "pages/LanguageTexts.h"
#include "core/Utf8Placeholders.h"
#include "skin/LocalisedLayout.h"
#include "pages/PageConditions.h"
#include "pages/PageControls.h"
#include "skin/PageName.h"

namespace pages {

namespace {

const char kStartPage[] = "start.lcd";
const char kAddOnPage[] = "3rdparty.lcd";

bool FileExists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

Wizard::Wizard(WizardOwner& owner) : owner_(owner), behaviours_(owner) {}

Wizard::~Wizard() {
    CloseCurrentPage();
    DeleteRetiredPages();
}

void Wizard::BuildPageList() {
    const std::string& ini = owner_.State().settingsPath;
    namespace k = core::keys::dialoglist;
    const int count = core::settings::ReadNumber(ini, k::kSection, k::kPageTotal);
    std::vector<std::string> pages;
    for (int i = 0; i < count && i < pages::wizard::kMaxPages; ++i)
        pages.push_back(core::settings::ReadListField(ini, k::kSection, k::kPage, i));
    sequence_.SetPages(pages);
}

void Wizard::ReadFileActions() {
    fileActions_ = pages::ReadFileActions(owner_.State().settingsPath);
    core::trace::Value("file actions", std::to_string(fileActions_.size()));
}

pages::wizard::MoveState Wizard::CurrentMoveState() const {
    const core::SetupState& s = owner_.State();
    pages::wizard::MoveState m;
    m.setupType = s.setupType;
    m.cancelled = core::CurrentRun().Stopped();
    m.finished = s.finished;
    m.unattended = s.unattended;
    return m;
}

HWND Wizard::DialogOwner() const { return current_ ? current_->Window() : nullptr; }

// File actions and conditions bound to a page run here before it is shown;
// false when they cancelled the setup (the complete page is then up) or
// abandoned it (the error page is up).
bool Wizard::RunPageActions(const std::string& layout) {
    const bool cancelledBefore = core::CurrentRun().Stopped();
    switch (RunFileActions(layout)) {
    case pages::FileActionsOutcome::Abandoned:
        AbandonedByFileAction(core::ending::Moment::AtPage);
        return false;
    case pages::FileActionsOutcome::Done:
        break;
    }
    if (!cancelledBefore && core::CurrentRun().Stopped()) {
        CancelledByCondition();
        return false;
    }
    SetupConditionRunner runner(owner_.State(), DialogOwner());
    core::RunTriggeredConditions(owner_.State().conditions, layout, runner);
    if (runner.Cancelled()) CancelledByCondition();
    return !core::CurrentRun().Stopped();
}

void Wizard::RunStartPageActions() { RunPageActions(kStartPage); }

pages::FileActionsOutcome Wizard::RunFileActions(const std::string& trigger) {
    SetupFileActionRunner runner(
        owner_.State(), [this](const std::string& name) { return ConditionHolds(name); }, DialogOwner());
    return pages::RunFileActions(fileActions_, trigger, owner_.State().osName, runner);
}

// As an installation abandoned at a failed step: what a completed
// installation did is undone, then nothing more is done but to say so.
void Wizard::AbandonedByFileAction(core::ending::Moment moment) {
    core::trace::Line("a file action abandoned the setup");
    core::CurrentRun().Abandon();
    Follow(owner_.DecideEnding(moment, true));
}

bool Wizard::ConditionHolds(const std::string& name) {
    SetupConditionRunner runner(owner_.State(), DialogOwner());
    return core::ConditionHolds(owner_.State().conditions, name, runner);
}

// As a confirmed cancel: a completed installation is taken back and the
// complete page in its cancelled form replaces the current page.
void Wizard::CancelledByCondition() { Follow(owner_.DecideEnding(core::ending::Moment::AtPage, false)); }

// A stopped run is finished: page moves are ignored, and the working folder
// goes unless a worker still reads it.
void Wizard::Follow(const core::ending::RunEnding& ending) {
    using core::ending::NextStep;
    const bool stopped = ending.next == NextStep::CompletePage || ending.next == NextStep::ErrorPage ||
                         ending.next == NextStep::End;
    if (stopped) {
        owner_.State().finished = true;
        if (!workerRunning_) core::RemoveWorkingFolder(owner_.State());
    }
    switch (ending.next) {
    case NextStep::NextPage: return NextPage();
    case NextStep::AddOnPage: return ShowAddOnPage();
    case NextStep::Finish: return Finish();
    case NextStep::CompletePage: return ShowCompletePage();
    case NextStep::ErrorPage: return ShowErrorPage(ending.exitCode);
    case NextStep::End: return owner_.EndSetup(ending.exitCode);
    }
}

skin::SkinnedPage* Wizard::ShowStartPage() {
    if (!RunPageActions(kStartPage)) return nullptr;
    const bool hidden = owner_.State().unattended;
    ShowPage({kStartPage, pages::wizard::kOutsideListIndex, pages::wizard::kOutsideListCount, hidden});
    return current_.get();
}

skin::SkinnedPage* Wizard::ShowLanguagePage() {
    ShowPage({pages::wizard::kLanguagePage, pages::wizard::kOutsideListIndex,
              pages::wizard::kOutsideListCount, false});
    return current_.get();
}

// The language page only picks the language: before it the start-up has not
// read the page list, so it moves nowhere but on with the start-up (or to
// the cancelled end).
void Wizard::ConfirmLanguage(skin::SkinnedPage& page) {
    const std::string language = behaviours_.ChosenLanguage(page);
    RetireCurrentPage();
    owner_.LanguageChosen(language);
}

void Wizard::ShowPage(const pages::wizard::PageToShow& target) {
    core::trace::Value(core::tracenames::kPage, target.layout + (target.hidden ? " (hidden)" : ""));
    auto page = std::make_unique<skin::SkinnedPage>(this);
    if (!page->Create(nullptr)) return PageNotCreated(target);
    const core::SetupState& state = owner_.State();
    page->SetLocalisedEntries(
        skin::LocalisedLayoutEntries(state.themeFolder + target.layout, state.appliedLanguageFile));
    page->Load(state.themeFolder, target.layout, target.index, target.count);
    skin::NamePageWindow(page->Window(), target.layout);
    RetireCurrentPage();
    current_ = std::move(page);
    behaviours_.SetUp(*current_);
    if (!target.hidden) current_->Show(SW_SHOWDEFAULT);
}

// An unattended run needs no window: without its hidden progress page it
// installs all the same. The start page only shows the extraction, the
// add-on page the add-on programs, which run without them, and without the
// language page the authored texts stay. Any other page is what the user
// would have to answer: the setup cannot go on without it.
void Wizard::PageNotCreated(const pages::wizard::PageToShow& target) {
    core::trace::Failure(("CreateDialog (" + target.layout + ")").c_str(), GetLastError());
    if (target.layout == kStartPage || target.layout == kAddOnPage ||
        target.layout == pages::wizard::kLanguagePage)
        return;
    RetireCurrentPage();
    if (owner_.State().unattended && target.layout == pages::wizard::kProgressPage)
        return owner_.StartInstallationLater();
    owner_.EndSetup(core::kExitFailed);
}

// Only one page is ever on screen: the page left behind closes when the next
// one appears. Its object lives on until no callback of it is running.
void Wizard::RetireCurrentPage() {
    if (!current_) return;
    skin::UnnamePageWindow(current_->Window());
    current_->Close();
    retired_.push_back(std::move(current_));
    owner_.DeleteRetiredPagesLater();
}

void Wizard::CloseCurrentPage() { RetireCurrentPage(); }

void Wizard::DeleteRetiredPages() { retired_.clear(); }

void Wizard::NextPage() {
    pages::wizard::PageToShow target;
    if (sequence_.Next(CurrentMoveState(),
                       [this](const std::string& layout) { return RunPageActions(layout); },
                       target))
        ShowPage(target);
}

void Wizard::PreviousPage() {
    pages::wizard::PageToShow target;
    if (sequence_.Previous(CurrentMoveState(), target)) ShowPage(target);
}

void Wizard::ShowCompletePage() { ShowPage(sequence_.Complete()); }

void Wizard::ShowErrorPage(int exitCode) {
    showingErrorPage_ = true;
    errorPageExitCode_ = exitCode;
    ShowPage({"setuperror.lcd", sequence_.Count(), sequence_.Count(), false});
}

void Wizard::ShowAddOnPage() {
    ShowPage({kAddOnPage, pages::wizard::kOutsideListIndex, pages::wizard::kOutsideListCount,
              owner_.State().unattended});
}

// A cancel at Finish (a file action's or a condition's) takes a completed
// installation back: exit code 1 means not installed. The run's owner
// decides; the chosen files are launched only for an installation that stands.
void Wizard::Finish() {
    core::trace::Line("finish");
    const bool stoppedBefore = core::CurrentRun().Stopped();
    if (RunFileActions(core::kAfterFinishTrigger) == pages::FileActionsOutcome::Abandoned)
        return AbandonedByFileAction(core::ending::Moment::AtFinish);
    if (stoppedBefore || !core::CurrentRun().Stopped()) {
        SetupConditionRunner runner(owner_.State(), DialogOwner());
        core::RunTriggeredConditions(owner_.State().conditions, core::kAfterFinishTrigger, runner);
    }
    const core::ending::RunEnding ending = owner_.DecideEnding(core::ending::Moment::AtFinish, false);
    if (ending.installation == core::ending::Installation::Kept) LaunchChosenFiles();
    Follow(ending);
}

// The launch paths are expanded here, with the folder the files went to.
void Wizard::LaunchChosenFiles() {
    const core::SetupState& s = owner_.State();
    const std::string file = s.launchFileChosen ? core::ExpandSetupText(s, s.launchFile) : "";
    if (FileExists(file)) {
        const std::string parameters = core::ExpandSetupText(s, s.launchParameters);
        SetCurrentDirectoryA(FolderOf(file).c_str());
        core::trace::Value(core::tracenames::kLaunched, file);
        ShellExecuteA(nullptr, nullptr, file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                      nullptr, SW_SHOWDEFAULT);
    }
    const std::string readme = s.launchReadmeChosen ? core::ExpandSetupText(s, s.readmeFile) : "";
    if (FileExists(readme)) {
        core::trace::Value(core::tracenames::kLaunched, readme);
        ShellExecuteA(nullptr, nullptr, readme.c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
    }
}

std::string Wizard::ExpandPageText(const std::string& text) { return core::ExpandSetupText(owner_.State(), text); }

std::string Wizard::ExpandUnicodePageText(const std::string& utf8) {
    return core::ExpandSetupTextUtf8(utf8, core::PlaceholderValuesOf(owner_.State()));
}

void Wizard::OnPageCommand(skin::SkinnedPage& page, int, int, int clickCode,
                           const std::string& controlName) {
    core::trace::Value("command", controlName + " " + std::to_string(clickCode));
    // Nothing is left to do after an abandoned installation but to leave.
    if (showingErrorPage_ && controlName != "IDYES" && controlName != "IDNO")
        return owner_.EndSetup(errorPageExitCode_);
    // The add-on page only waits for the programs it runs: nothing to choose.
    if (pages::pagectl::LayoutName(page) == kAddOnPage) return;
    if (controlName == "IDCANCEL") return Cancel(page);
    if (pages::pagectl::LayoutName(page) == pages::wizard::kLanguagePage) {
        if (controlName == "IDC_SETLANGUAGE") ConfirmLanguage(page);
        return;
    }
    if (behaviours_.HandleWithinPage(page, controlName)) return;
    behaviours_.Leave(page);
    Dispatch(controlName, clickCode);
}

void Wizard::Dispatch(const std::string& controlName, int clickCode) {
    switch (pages::wizard::DispatchCommand(controlName, clickCode, CurrentMoveState())) {
    case pages::wizard::CommandAction::Finish: return Finish();
    case pages::wizard::CommandAction::Previous: return PreviousPage();
    case pages::wizard::CommandAction::Next: return NextPage();
    case pages::wizard::CommandAction::CompletePage: return ShowCompletePage();
    case pages::wizard::CommandAction::Ignore: return;
    }
}

void Wizard::OnCancelRequest(skin::SkinnedPage& page) {
    if (showingErrorPage_) return owner_.EndSetup(errorPageExitCode_);
    Cancel(page);
}

// Once the installation has ended, or on the complete page, nothing is left
// to cancel: the close box, Escape or a Cancel button leave the setup as
// Finish does, with the launch choices the page shows. Finish is what the
// page offers, and a close box that did nothing would look like a hang.
// On the add-on page it does nothing: leaving would cut its programs short,
// and the page goes by itself when they have ended.
void Wizard::Cancel(skin::SkinnedPage& page) {
    if (pages::pagectl::LayoutName(page) == kAddOnPage) return;
    if (installationEnded_ || pages::pagectl::LayoutName(page) == pages::wizard::kCompletePage)
        return Finish();
    ConfirmCancel(page);
}

// Asks whether to leave the setup. On OK the working folder goes, the run is
// marked cancelled and the complete page follows. While the installation
// runs, its worker still reads the working folder: it stops before its next
// file and the folder is removed once it has ended.
void Wizard::ConfirmCancel(skin::SkinnedPage& page) {
    if (owner_.State().finished) return;
    const std::string& language = owner_.State().appliedLanguageFile;
    CancelDialogTexts texts;
    texts.text = core::ExpandSetupText(owner_.State(),
                                 pages::LanguageText(language, core::MessageId::CancelQuestion));
    texts.stayCaption = pages::LanguageText(language, core::MessageId::CancelStay);
    texts.leaveCaption = pages::LanguageText(language, core::MessageId::CancelLeave);
    if (!AskCancelConfirmation(page.Window(), texts)) return;
    core::trace::Line("cancel confirmed");
    pages::pagectl::Enable(page, "IDCANCEL", false);
    core::CurrentRun().RequestCancel();
    if (workerRunning_) return;
    core::RemoveWorkingFolder(owner_.State());
    Dispatch("IDC_NEXT", 0);
}

void Wizard::OnPageTimer(skin::SkinnedPage& page, UINT_PTR timerId) {
    KillTimer(page.Window(), timerId);
    if (timerId == skin::kPageTimerStartInstallation) {
        RunInstallation();
    } else if (timerId == skin::kPageTimerAutomaticMove) {
        Dispatch("IDC_NEXT", 0);
    }
}

void Wizard::RunInstallation() {
    workerRunning_ = true;
    owner_.StartInstallation();
    workerRunning_ = false;
    installationEnded_ = true;
}

LRESULT Wizard::OnPageNotify(skin::SkinnedPage& page, const NMHDR& header) {
    return behaviours_.Notify(page, header);
}

}  // namespace pages

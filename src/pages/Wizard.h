// The wizard: the page list, one page window at a time, the moves between
// pages, the cancel confirmation and Finish. Pages report to it as their host.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/ExitCodes.h"
#include "pages/FileActionRules.h"
#include "pages/PageSequence.h"
#include "pages/StandardPages.h"
#include "skin/PageHost.h"
#include "skin/SkinnedPage.h"
#include "pages/WizardOwner.h"

namespace pages {

class Wizard : public skin::PageHost {
public:
    explicit Wizard(WizardOwner& owner);
    ~Wizard() override;

    // Reads DIALOGLIST: "TOTAL1" pages named "W0", "W1", ...; index -1.
    void BuildPageList();
    // Reads the project's file actions (FILEACTION), run as their pages show.
    void ReadFileActions();
    // The actions of the start page, for a run that shows none (disk image).
    void RunStartPageActions();
    // Runs the start page's file actions and conditions, then creates
    // start.lcd outside the list (hidden in unattended mode) and makes it the
    // current page. Null when they cancelled or abandoned the setup (the
    // complete or error page is up instead) or the page could not be made.
    skin::SkinnedPage* ShowStartPage();
    // The language page (askuser.lcd), outside the list; null when it could
    // not be made.
    skin::SkinnedPage* ShowLanguagePage();
    void CloseCurrentPage();
    void NextPage();
    void PreviousPage();
    // complete.lcd counted as the last page (after a cancel or an abort).
    void ShowCompletePage();
    // setuperror.lcd after an abandoned installation; any of its buttons ends the setup.
    // The setup error page; leaving it ends the setup with `exitCode`.
    void ShowErrorPage(int exitCode = core::kExitAbandoned);
    // 3rdparty.lcd (hidden in an unattended run), shown while the add-on
    // programs and merge modules run after the installation.
    void ShowAddOnPage();
    // After-finish actions: the file actions and then the conditions bound
    // to Finish, then launch the file and readme when chosen, then end. A
    // condition that cancels ends the setup without the launches; a library
    // function that abandons it shows the setup error page instead.
    void Finish();
    // Shows what the run's owner decided: the next page, the add-on, complete
    // or error page, Finish for an unattended run, or the end of the setup.
    void Follow(const core::ending::RunEnding& ending);
    skin::SkinnedPage* CurrentPage() const { return current_.get(); }
    // Frees the windows of pages left behind (called outside their callbacks).
    void DeleteRetiredPages();
    // The query by name of file actions and merge modules (see
    // core::ConditionHolds), with the wizard's messages. A
    // "CancelInstall();" action leaves the run cancelled; the caller then
    // takes the cancel path (page moves do so themselves).
    bool ConditionHolds(const std::string& name);
    // Runs the installation behind the progress page; the progress page's
    // timer, or the owner for an unattended run, calls it.
    void RunInstallation();
    // True while the extraction or the installation runs: a confirmed cancel
    // then leaves the working folder and the next page to their end.
    void SetWorkerRunning(bool running) { workerRunning_ = running; }

    // PageHost
    std::string ExpandPageText(const std::string& text) override;
    std::string ExpandUnicodePageText(const std::string& utf8) override;
    void OnPageCommand(skin::SkinnedPage& page, int controlId, int recordIndex, int clickCode,
                       const std::string& controlName) override;
    void OnCancelRequest(skin::SkinnedPage& page) override;
    void OnPageTimer(skin::SkinnedPage& page, UINT_PTR timerId) override;
    LRESULT OnPageNotify(skin::SkinnedPage& page, const NMHDR& header) override;

private:
    void ShowPage(const pages::wizard::PageToShow& target);
    void Dispatch(const std::string& controlName, int clickCode);
    pages::wizard::MoveState CurrentMoveState() const;
    bool RunPageActions(const std::string& layout);
    // The file actions of a page or of Finish; false when they abandoned or
    // cancelled the setup.
    pages::FileActionsOutcome RunFileActions(const std::string& trigger);
    // A file action's library abandoned the setup: the error page (or the
    // end of an unattended run).
    void AbandonedByFileAction(core::ending::Moment moment);
    void LaunchChosenFiles();
    // A condition cancelled the setup: the cancel path of a confirmed cancel.
    void CancelledByCondition();
    HWND DialogOwner() const;
    // A cancel request (Cancel button, Escape, close box): the confirmation,
    // or Finish when nothing is left to cancel.
    void Cancel(skin::SkinnedPage& page);
    void ConfirmCancel(skin::SkinnedPage& page);
    void RetireCurrentPage();
    void ConfirmLanguage(skin::SkinnedPage& page);
    void PageNotCreated(const pages::wizard::PageToShow& target);

    WizardOwner& owner_;
    pages::wizard::PageSequence sequence_;
    StandardPages behaviours_;
    pages::FileActions fileActions_;
    std::unique_ptr<skin::SkinnedPage> current_;
    std::vector<std::unique_ptr<skin::SkinnedPage>> retired_;
    bool workerRunning_ = false;
    bool showingErrorPage_ = false;
    int errorPageExitCode_ = core::kExitAbandoned;
    bool installationEnded_ = false;
};

}  // namespace pages

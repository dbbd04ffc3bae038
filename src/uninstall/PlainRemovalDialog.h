// The built-in removal window, for a product that shipped no
// "uninstall.lcd": the question with Yes and No, then the progress bar and
// the status line. No, Escape and the close box leave without removing.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall/RemovalWindow.h"
#include "uninstall/UninstallTexts.h"
#include "util/ProgressThrottle.h"

namespace uninstall {

class PlainRemovalDialog : public RemovalWindow {
public:
    explicit PlainRemovalDialog(const UninstallTexts& texts) : texts_(texts) {}
    ~PlainRemovalDialog() override;
    PlainRemovalDialog(const PlainRemovalDialog&) = delete;
    PlainRemovalDialog& operator=(const PlainRemovalDialog&) = delete;

    // Makes the (hidden) dialog; false when it cannot be made.
    bool Open();

    // RemovalWindow
    bool AskToRemove() override;
    void RemovalStarted(const std::string& status) override;
    void RemovalEnded(const std::string& outcome) override { SetStatus(outcome); }
    HWND Window() const override { return dialog_; }
    void SetStatus(const std::string& text) override;
    void SetProgressRange(int count) override;
    void SetProgressPosition(int position) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);

    const UninstallTexts& texts_;
    HWND dialog_ = nullptr;
    bool asking_ = false;
    bool answered_ = false;
    bool remove_ = false;
    util::ProgressThrottle throttle_;
};

}  // namespace uninstall

// The installation's user interface: status lines, the progress bar, the
// download display of web items and the answers to its questions; the
// progress page, or nothing in a run without one. Called from the
// installation's worker thread.
#pragma once

#include <string>

#include "download/ProgressDisplay.h"
#include "install/InstallContext.h"

namespace install {

class ProgressSink : public download::ProgressDisplay {
public:
    virtual ~ProgressSink() = default;
    // line 0: the main status line; line 1: the detail line.
    virtual void SetStatus(const std::string& text, int line) = 0;
    virtual void SetProgressRange(int count) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Shows the question and returns the user's answer (Retry, Ignore, Cancel).
    virtual ErrorChoice Ask(const Question& question) = 0;
    // Shows an error text with an OK button.
    virtual void ShowError(const std::string& text) = 0;
};

}  // namespace install

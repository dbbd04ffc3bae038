// Where a transfer shows its progress: the progress page implements it (its
// bar "IDC_DOWNLOADPROGRESS" and its line "IDC_INFO"). Called from the thread
// that runs the transfer, never from the transfer's own worker.
#pragma once

#include "download/ProgressText.h"

namespace download {

class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // Shows the download bar at 0 of 100.
    virtual void ShowDownloadProgress() = 0;
    // Moves the bar (unless the percentage is unknown) and writes the info line.
    virtual void UpdateDownloadProgress(const ProgressReport& report) = 0;
    // Hides the bar again and puts the info line back as it was.
    virtual void HideDownloadProgress() = 0;
};

}  // namespace download

// The billboard slide show's thread: it makes the slide-show window, runs its
// message loop until the last billboard is over or it is told to stop, and
// ends. It is handed copies of everything it needs and shares nothing else
// with the wizard's thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "billboard/BillboardRules.h"

namespace billboard {

class SlideShow {
public:
    SlideShow() = default;
    ~SlideShow() { Stop(); }
    SlideShow(const SlideShow&) = delete;
    SlideShow& operator=(const SlideShow&) = delete;

    // Starts the thread; false when there is nothing to show or the thread
    // could not be started (the setup goes on without billboards).
    bool Start(std::vector<Billboard> billboards, const std::string& workingFolder,
               const std::string& sourceFolder);
    // Ends the show at once if it still runs (its window goes with it) and
    // waits for the thread. Safe to call more than once.
    void Stop();

private:
    struct Job;
    static DWORD WINAPI ThreadMain(void* job);

    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;
};

}  // namespace billboard

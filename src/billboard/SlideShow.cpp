#include "billboard/SlideShow.h"

#include <memory>

#include "billboard/BillboardWindow.h"
#include "core/Trace.h"

namespace billboard {

// What the thread is given: its own copies, and the event that stops it.
struct SlideShow::Job {
    std::vector<Billboard> billboards;
    std::string workingFolder;
    std::string sourceFolder;
    HANDLE stop = nullptr;
};

bool SlideShow::Start(std::vector<Billboard> billboards, const std::string& workingFolder,
                      const std::string& sourceFolder) {
    if (billboards.empty() || thread_) return false;
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!stop_) {
        core::trace::Failure("CreateEvent (billboards)", GetLastError());
        return false;
    }
    auto job = std::make_unique<Job>(Job{std::move(billboards), workingFolder, sourceFolder, stop_});
    thread_ = CreateThread(nullptr, 0, &SlideShow::ThreadMain, job.get(), 0, nullptr);
    if (!thread_) {
        core::trace::Failure("CreateThread (billboards)", GetLastError());
        CloseHandle(stop_);
        stop_ = nullptr;
        return false;
    }
    job.release();  // the thread owns it now
    return true;
}

void SlideShow::Stop() {
    if (!thread_) return;
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    thread_ = stop_ = nullptr;
}

// The show's own message loop: it wakes for its window's messages and for
// the stop event alike, so a stop is answered without waiting for a timer.
DWORD WINAPI SlideShow::ThreadMain(void* param) {
    std::unique_ptr<Job> job(static_cast<Job*>(param));
    {
        BillboardWindow window(std::move(job->billboards), job->workingFolder, job->sourceFolder);
        if (window.Open()) {
            while (window.Alive()) {
                const DWORD woke = MsgWaitForMultipleObjects(1, &job->stop, FALSE, INFINITE, QS_ALLINPUT);
                if (woke != WAIT_OBJECT_0 + 1) break;  // stopped, or the wait failed
                MSG msg;
                while (window.Alive() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
        }
    }  // the window and its picture go on this thread
    return 0;
}

}  // namespace billboard

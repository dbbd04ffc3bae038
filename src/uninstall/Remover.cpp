#include "uninstall/Remover.h"

#include <objbase.h>

#include "core/MessageWait.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "install/UndoActions.h"

namespace uninstall {

Remover::Remover(const install::UndoSetup& setup, std::vector<core::LogRecord> records, RemovalDisplay* display)
    : setup_(setup), records_(std::move(records)), display_(display) {}

bool Remover::Run() {
    report_ = RemovalReport();
    report_.skippedLines = UnconsumedLines(records_);
    position_ = 0;
    if (display_) display_->SetProgressRange(static_cast<int>(records_.size()));
    DWORD id = 0;
    HANDLE worker = CreateThread(nullptr, 0, &Remover::WorkerEntry, this, 0, &id);
    if (!worker) {
        core::trace::Failure("CreateThread (removal)", GetLastError());
        return false;
    }
    core::WaitDispatchingMessages(worker);
    CloseHandle(worker);
    if (display_) display_->SetProgressPosition(static_cast<int>(records_.size()));
    return true;
}

DWORD WINAPI Remover::WorkerEntry(void* self) {
    static_cast<Remover*>(self)->RunSteps();
    return 0;
}

// The shell's objects some steps use need COM on this thread; without it the
// steps still run, and those objects fail one by one.
void Remover::RunSteps() {
    const HRESULT com = CoInitialize(nullptr);
    if (FAILED(com)) core::trace::Failure("CoInitialize", static_cast<unsigned long>(com));
    install::RunUndoActions(*this);
    if (SUCCEEDED(com)) CoUninitialize();
}

void Remover::SetStatus(const std::string& text) {
    core::trace::Value(core::tracenames::kRemovalStatus, text);
    if (display_) display_->SetStatus(text);
}

void Remover::Advance() {
    ++position_;
    if (display_) display_->SetProgressPosition(position_);
}

void Remover::LeftOver(const std::string& what) {
    core::trace::Value(core::tracenames::kLeftOver, what);
    report_.leftOver.push_back(what);
}

void Remover::RestartNeeded(const std::string& what) {
    core::trace::Value(core::tracenames::kAtRestart, what);
    report_.restartNeeded.push_back(what);
}

// The user-interface thread dispatches while the worker waits here.
void Remover::WaitForProcess(HANDLE process) {
    if (WaitForSingleObject(process, INFINITE) == WAIT_FAILED)
        core::trace::Failure("WaitForSingleObject (removal program)", GetLastError());
}

}  // namespace uninstall

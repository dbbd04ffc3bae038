#include "control/MainFrame.h"

#include "control/LanguageStep.h"
#include "core/MessageDialog.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/WorkingFolder.h"

namespace control {

namespace {

const char kFrameClass[] = "CorvaneMainFrame";

}  // namespace

CMainFrame::CMainFrame() : m_wizard(new pages::Wizard(*this)), m_run(m_state, *m_wizard) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CMainFrame::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    // The frame stays hidden; the wizard pages are windows of their own.
    HWND hwnd = CreateWindowExA(0, kFrameClass, "Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, this);
    if (!hwnd && GetLastError() != ERROR_SUCCESS) core::trace::Failure("CreateWindowEx (frame)", GetLastError());
    return hwnd != nullptr;
}

LRESULT CALLBACK CMainFrame::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CMainFrame* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        self->m_run.SetFrame(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CMainFrame*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT CMainFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT answered = 0;
    if (m_background.HandleMessage(m_hWnd, msg, wParam, lParam, answered)) return answered;
    switch (msg) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kMessageDeleteRetiredPages:
        m_wizard->DeleteRetiredPages();
        return 0;
    case kMessageStartInstallation:
        m_wizard->RunInstallation();
        return 0;
    case WM_DESTROY:
        m_hWnd = nullptr;
        return 0;
    default:
        return DefWindowProcA(m_hWnd, msg, wParam, lParam);
    }
}

// Frame creation: the start-up from the folders to the language step; the
// rest follows at once, or once the language page has been answered.
bool CMainFrame::OnCreate() {
    core::trace::Line("step 1: frame created");
    switch (StartupDriver(*this).Begin()) {
    case StartupDriver::Beginning::Stopped: return false;
    case StartupDriver::Beginning::AskingLanguage: return true;
    case StartupDriver::Beginning::Ready: break;
    }
    RunStartupDriver();
    return true;
}

void CMainFrame::LanguageChosen(const std::string& name) {
    ApplyLanguage(m_state, name);
    RunStartupDriver();
}

void CMainFrame::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerAfterPreparation:
        if (m_state.splashFinished) {
            KillTimer(m_hWnd, kTimerAfterPreparation);
            CloseStartPage();
            ShowFirstPage();
        }
        break;
    case InstallationRun::kAddOnTimer:
        m_run.RunAddOns();
        break;
    case kTimerAfterSplash:
        if (m_state.splashFinished) {
            KillTimer(m_hWnd, kTimerAfterSplash);
            ShowFirstPage();
        }
        break;
    }
}

void CMainFrame::EndSetup(int exitCode) { m_run.End(exitCode); }

void CMainFrame::DeleteRetiredPagesLater() {
    PostMessageA(m_hWnd, kMessageDeleteRetiredPages, 0, 0);
}

void CMainFrame::StartInstallationLater() {
    PostMessageA(m_hWnd, kMessageStartInstallation, 0, 0);
}

void CMainFrame::RemoveWorkingFolder() { core::RemoveWorkingFolder(m_state); }

void CMainFrame::ReleaseWorkingFolder() {
    m_billboards.Stop();
    RemoveWorkingFolder();
}

std::string CMainFrame::Expand(const std::string& text) const { return core::ExpandSetupText(m_state, text); }

// An unattended run has nobody to close a dialog: its exit code tells instead.
void CMainFrame::ShowMessage(const std::string& text) {
    core::trace::Value("message", text);
    if (!m_state.unattended) core::ShowMessageDialog(nullptr, text);
}

void CMainFrame::StartTimer(Timer timer) {
    SetTimer(m_hWnd, timer == Timer::AfterSplash ? kTimerAfterSplash : kTimerAfterPreparation, 1000,
             nullptr);
}

void CMainFrame::CloseStartPage() { m_wizard->CloseCurrentPage(); }

void CMainFrame::OpenBackground(const background::BackgroundSettings& settings,
                                const std::string& picturePath) {
    m_background.Open(m_hWnd, settings, picturePath);
    core::trace::Value(core::tracenames::kBackground, m_background.PictureLoaded() ? picturePath : "none");
}

void CMainFrame::StartBillboards(std::vector<billboard::Billboard> billboards) {
    m_billboards.Start(std::move(billboards), m_state.workingFolder, m_state.sourceFolder);
}

void CMainFrame::ShowFirstPage() { m_wizard->NextPage(); }

void CMainFrame::RunStartupDriver() {
    if (m_driverRan) return;
    m_driverRan = true;
    StartupDriver(*this).Run();
}

void CMainFrame::StartInstallation() { m_run.Install(); }

core::ending::RunEnding CMainFrame::DecideEnding(core::ending::Moment moment, bool abandoned) {
    return m_run.Decide(moment, abandoned);
}

}  // namespace control

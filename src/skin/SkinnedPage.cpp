#include "skin/SkinnedPage.h"

#include <commctrl.h>

#include "res/skin_resource.h"
#include "skin/ColoredButton.h"
#include "skin/ControlCreator.h"
#include "skin/PageControlProperties.h"
#include "skin/OverlayIniSource.h"
#include "skin/PaintedTextControl.h"
#include "skin/PictureControl.h"
#include "skin/ProfileIniSource.h"
#include "skin/SkinFont.h"
#include "skin/SkinGdi.h"
#include "skin/WindowPlacement.h"
#include "util/Text.h"

namespace skin {

namespace {

// The window property that marks a page window and points to its object.
const char kPageProperty[] = "CorvaneSkinnedPage";

SkinnedPage* g_currentPage = nullptr;

void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

}  // namespace

SkinnedPage::SkinnedPage(PageHost* host) : host_(host) {}

SkinnedPage::~SkinnedPage() {
    Close();
    if (g_currentPage == this) g_currentPage = nullptr;
}

bool SkinnedPage::Create(HWND owner) {
    if (hwnd_) return true;
    InitCommonControlsOnce();
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SKIN_PAGE), owner,
                                   &SkinnedPage::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void SkinnedPage::Load(const std::string& themeFolder, const std::string& layoutFile, int pageIndex,
                       int pageCount) {
    std::string path = themeFolder.empty() || themeFolder.back() == '\\' || themeFolder.back() == '/'
                           ? themeFolder + layoutFile
                           : themeFolder + "\\" + layoutFile;
    LoadLayout(path, pageIndex, pageCount);
    PlaceWindow();
}

void SkinnedPage::LoadLayout(const std::string& layoutPath, int pageIndex, int pageCount) {
    if (!hwnd_) return;
    DestroyControls();
    layoutPath_ = layoutPath;
    pageIndex_ = pageIndex;
    pageCount_ = pageCount;
    table_.Clear();

    ProfileIniSource profile(layoutPath);
    OverlayIniSource ini(profile, skin::layout::kPropertySection, localised_.entries);
    skin::layout::LayoutFile file(ini, layoutPath);
    settings_ = file.ReadWindow();
    for (int i = skin::layout::kCaption; i < skin::layout::kWindowPropertyCount; ++i) {
        std::string value = settings_.properties[i];
        SetWindowProperty(i, value);
    }
    CreatePageFont();
    skin::layout::LoadControls(file, table_, *this);
    ApplyControlProperties();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void SkinnedPage::PlaceWindow() {
    if (!hwnd_) return;
    skin::layout::Placement p = skin::layout::PlaceWindow(
        settings_.properties[skin::layout::kStartup], settings_.width, settings_.height,
        skin::CaptionHeight(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), ScreenDpi());
    if (p.move) MoveWindow(hwnd_, p.left, p.top, p.width, p.height, TRUE);
}

int SkinnedPage::Dpi() const { return ScreenDpi(); }

void SkinnedPage::Show(int showCommand) {
    if (!hwnd_) return;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    g_currentPage = this;
}

void SkinnedPage::Close() {
    if (hwnd_) DestroyWindow(hwnd_);
}

const std::string& SkinnedPage::WindowProperty(int index) const {
    static const std::string kEmpty;
    return index >= 0 && index < skin::layout::kWindowPropertyCount ? settings_.properties[index] : kEmpty;
}

void SkinnedPage::SetWindowProperty(int index, const std::string& value) {
    if (index < 0 || index >= skin::layout::kWindowPropertyCount) return;
    settings_.properties[index] = value;
    if (!hwnd_) return;
    switch (index) {
    case skin::layout::kCaption:
        SetWindowTextA(hwnd_, Expand(value).c_str());
        break;
    case skin::layout::kBkColor: {
        std::string text = skin::layout::ResolveBackground(value, skin::ButtonFace());
        settings_.properties[index] = text;
        background_.SetColor(skin::ParseColorref(text));
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    }
    case skin::layout::kBorder:
        if (!value.empty() && value[0] == '0') skin::ChangeStyle(hwnd_, 0, WS_BORDER);
        else if (!value.empty() && value[0] == '1') skin::ChangeStyle(hwnd_, WS_BORDER, 0);
        break;
    case skin::layout::kBkImage:
        if (!background_.LoadPicture(value, hwnd_)) background_.ClearPicture();
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    case skin::layout::kMinWindow:
        skin::ChangeStyle(hwnd_, skin::layout::IsYes(value) ? WS_MINIMIZEBOX : 0,
                          skin::layout::IsYes(value) ? 0 : WS_MINIMIZEBOX);
        break;
    case skin::layout::kMaxWindow:
        skin::ChangeStyle(hwnd_, skin::layout::IsYes(value) ? WS_MAXIMIZEBOX : 0,
                          skin::layout::IsYes(value) ? 0 : WS_MAXIMIZEBOX);
        break;
    case skin::layout::kCloseWindow:
        skin::ChangeStyle(hwnd_, skin::layout::IsYes(value) ? WS_SYSMENU : 0,
                          skin::layout::IsYes(value) ? 0 : WS_SYSMENU);
        break;
    default:  // idcname, soundfile, startup: stored only
        break;
    }
    skin::ChangeExStyle(hwnd_, WS_EX_APPWINDOW, 0);
}

void SkinnedPage::CreatePageFont() {
    skin::FontSpec font;
    font.face = settings_.fontName;
    font.points = skin::layout::Number(settings_.fontSize);
    font.bold = skin::layout::IsNotNo(settings_.fontBold);
    font.italic = skin::layout::IsNotNo(settings_.fontItalic);
    HFONT created = skin::CreateSkinFont(font);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
    if (pageFont_) DeleteObject(pageFont_);
    pageFont_ = created;
}

void SkinnedPage::CreateControl(skin::layout::ControlRecord& record, const skin::layout::ControlLine& line) {
    std::string image;
    if (record.kind == skin::layout::ControlKind::kBitmap || record.kind == skin::layout::ControlKind::kHover)
        image = skin::layout::FileInFolder(line.Field(6), skin::layout::FolderOf(layoutPath_));
    size_t slot = static_cast<size_t>(record.id - skin::layout::kFirstControlId);
    if (controls_.size() <= slot) controls_.resize(slot + 1);
    controls_[slot] = skin::CreateControlWindow(hwnd_, pageFont_, record, image);
}

void SkinnedPage::ApplyControlProperties() {
    PropertyTarget target;
    target.window = hwnd_;
    target.table = &table_;
    target.host = host_;
    if (localised_.unicode)
        target.unicodeCaption = [this](const skin::layout::ControlRecord& r) {
            return localised_.entries.count(std::to_string(r.controlNumber) + ",1") != 0;
        };
    target.control = [this](int id) { return Control(id); };
    target.pageIndex = pageIndex_;
    target.pageCount = pageCount_;
    PageControlProperties::Apply(target);
}

void SkinnedPage::DestroyControls() {
    for (auto& control : controls_)
        if (control && control->Window() && IsWindow(control->Window())) DestroyWindow(control->Window());
    controls_.clear();
}

std::string SkinnedPage::Expand(const std::string& text) const {
    return host_ ? host_->ExpandPageText(text) : text;
}

int SkinnedPage::FindControl(const std::string& name) const { return table_.FindByName(name); }

int SkinnedPage::FindRecord(int id) const { return table_.FindById(id); }

HWND SkinnedPage::ControlWindow(int id) const {
    skin::SkinControl* control = Control(id);
    return control ? control->Window() : nullptr;
}

HWND SkinnedPage::ControlWindow(const std::string& name) const { return ControlWindow(FindControl(name)); }

skin::SkinControl* SkinnedPage::Control(int id) const {
    long long slot = static_cast<long long>(id) - skin::layout::kFirstControlId;
    if (slot < 0 || slot >= static_cast<long long>(controls_.size())) return nullptr;
    return controls_[static_cast<size_t>(slot)].get();
}

skin::PaintedTextControl* SkinnedPage::TextControl(const std::string& name) const {
    return dynamic_cast<skin::PaintedTextControl*>(Control(FindControl(name)));
}

skin::PictureControl* SkinnedPage::PictureControlNamed(const std::string& name) const {
    return dynamic_cast<skin::PictureControl*>(Control(FindControl(name)));
}

skin::ColoredButton* SkinnedPage::ColoredButtonNamed(const std::string& name) const {
    return dynamic_cast<skin::ColoredButton*>(Control(FindControl(name)));
}

SkinnedPage* SkinnedPage::Current() { return g_currentPage; }

SkinnedPage* SkinnedPage::FromWindow(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    return root ? static_cast<SkinnedPage*>(GetPropA(root, kPageProperty)) : nullptr;
}

bool SkinnedPage::PreTranslatePageMessage(MSG* msg) {
    if (!msg) return false;
    SkinnedPage* page = FromWindow(msg->hwnd);
    if (!page || !page->hwnd_) return false;
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) {
        if (msg->wParam == VK_RETURN) return true;
        if (msg->wParam == VK_ESCAPE) {
            if (msg->message == WM_KEYDOWN && page->host_) page->host_->OnCancelRequest(*page);
            return true;
        }
    }
    return IsDialogMessageA(page->hwnd_, msg) != FALSE;
}

INT_PTR CALLBACK SkinnedPage::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SkinnedPage* page = reinterpret_cast<SkinnedPage*>(lParam);
        page->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        SetPropA(hwnd, kPageProperty, page);
        g_currentPage = page;
        return TRUE;
    }
    SkinnedPage* page = reinterpret_cast<SkinnedPage*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    return page ? page->OnMessage(msg, wParam, lParam) : FALSE;
}

INT_PTR SkinnedPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        OnPaint(dc);
        EndPaint(hwnd_, &ps);
        return TRUE;
    }
    case WM_PRINTCLIENT: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, background_.Brush());
        OnPaint(reinterpret_cast<HDC>(wParam));
        return TRUE;
    }
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(background_.Brush());
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return OnControlColor(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
        if (host_) host_->OnPageTimer(*this, wParam);
        return TRUE;
    case WM_CLOSE:
        if (host_) host_->OnCancelRequest(*this);
        return TRUE;
    case WM_COMMAND:
        OnCommand(wParam);
        return TRUE;
    case WM_NOTIFY: {
        LRESULT result = host_ ? host_->OnPageNotify(*this, *reinterpret_cast<NMHDR*>(lParam)) : 0;
        if (hwnd_) SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_DESTROY:
        if (g_currentPage == this) g_currentPage = nullptr;
        RemovePropA(hwnd_, kPageProperty);
        return FALSE;
    case WM_NCDESTROY:
        OnDestroyed();
        return FALSE;
    default:
        return FALSE;
    }
}

void SkinnedPage::OnCommand(WPARAM wParam) {
    int id = LOWORD(wParam);
    // Clicks only (BN_CLICKED, the notification code 0), from 3000 to 3030.
    if (HIWORD(wParam) != BN_CLICKED || !skin::layout::ControlTable::HandlesCommand(id) || !host_) return;
    int index = table_.FindById(id);
    if (index < 0) return;
    const skin::layout::ControlRecord& record = table_.At(static_cast<size_t>(index));
    std::string name = record.name;
    host_->OnPageCommand(*this, id, index, skin::layout::ClickCode(record.entries), name);
}

void SkinnedPage::OnPaint(HDC dc) { background_.PaintPicture(dc, hwnd_); }

INT_PTR SkinnedPage::OnControlColor(UINT, HDC dc, HWND control) {
    skin::SkinControl* object = Control(GetDlgCtrlID(control));
    if (object && object->Window() == control)
        if (HBRUSH brush = object->OnReflectedColor(dc)) return reinterpret_cast<INT_PTR>(brush);
    return FALSE;
}

void SkinnedPage::OnDestroyed() {
    SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
    controls_.clear();  // the control windows are gone already
    if (pageFont_) DeleteObject(pageFont_);
    pageFont_ = nullptr;
    background_.ClearPicture();
    hwnd_ = nullptr;
}

}  // namespace skin

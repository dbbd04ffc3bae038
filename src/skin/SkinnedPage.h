// One wizard page window: a modeless dialog made from the empty page
// template, loaded from a layout file (window properties, page font and the
// controls of its control lines), placed on the screen and painted with its
// background colour and picture. Commands, the cancel request and timers go
// to the PageHost that created it.
//
// Use:
//     SkinnedPage* page = new SkinnedPage(host);
//     page->Create();                                    // hidden, empty
//     page->Load(themeFolder, "welcome.lcd", index, count);  // layout + placement
//     ... the page's own set-up (find controls by name) ...
//     page->Show();
//     ... later, outside the page's own callbacks: page->Close(); delete page;
//
// The program's message loops call SkinnedPage::PreTranslatePageMessage(&msg)
// for every message before TranslateMessage/DispatchMessage and skip both
// when it returns true.
#pragma once

#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/ControlTable.h"
#include "skin/LayoutFile.h"
#include "skin/LayoutLoader.h"
#include "skin/LocalisedLayout.h"
#include "skin/PageBackground.h"
#include "skin/PageHost.h"
#include "skin/SkinControl.h"

namespace skin {

class PaintedTextControl;
class PictureControl;
class ColoredButton;

class SkinnedPage : private skin::layout::ControlFactory {
public:
    explicit SkinnedPage(PageHost* host);
    ~SkinnedPage() override;
    SkinnedPage(const SkinnedPage&) = delete;
    SkinnedPage& operator=(const SkinnedPage&) = delete;

    // Creates the (hidden) page window from the empty dialog template of the
    // program's resources, owned by `owner` (may be nullptr). On creation the
    // page becomes the current page. False when the window cannot be made.
    bool Create(HWND owner = nullptr);

    // Loads the layout `themeFolder` + `layoutFile` (a backslash is put
    // between them when the folder does not end in one) and places the
    // window. `pageIndex` and `pageCount` give the page's place in the page
    // list: index 0 disables "IDC_BACK"; index count-1 or count disables
    // "IDC_BACK" and "IDCANCEL". A missing file gives an empty page.
    void Load(const std::string& themeFolder, const std::string& layoutFile, int pageIndex,
              int pageCount);
    // Property entries (DADOS key to value) read in place of the layout's own
    // by the next loads: the captions of the applied language.
    void SetLocalisedEntries(skin::LocalisedEntries entries) { localised_ = std::move(entries); }
    // The two halves of Load.
    void LoadLayout(const std::string& layoutPath, int pageIndex, int pageCount);
    void PlaceWindow();

    // Shows the window and makes it the current page.
    void Show(int showCommand = SW_SHOWDEFAULT);
    // Destroys the window (the object stays; its owner deletes it later).
    // Do not delete the object from inside one of its PageHost callbacks.
    void Close();
    bool IsOpen() const { return hwnd_ != nullptr; }
    HWND Window() const { return hwnd_; }
    PageHost* Host() const { return host_; }

    const std::string& LayoutPath() const { return layoutPath_; }
    int PageIndex() const { return pageIndex_; }
    int PageCount() const { return pageCount_; }

    // Window properties 0..9 (idcname, caption, bkcolor, ...) as stored; the
    // background colour is stored as "%u,%u,%u" once a button-face name was
    // resolved. Setting one applies it to the window.
    const std::string& WindowProperty(int index) const;
    void SetWindowProperty(int index, const std::string& value);
    const skin::layout::WindowSettings& Settings() const { return settings_; }

    // Controls. Lookup by name is exact and finds the first record in table
    // (file) order; it returns the window identifier or -1.
    int FindControl(const std::string& name) const;
    // The record index of identifier `id` (first match), or -1.
    int FindRecord(int id) const;
    size_t RecordCount() const { return table_.Size(); }
    const skin::layout::ControlRecord& Record(size_t index) const { return table_.At(index); }
    // The control's window, or nullptr (no such control, or its window could
    // not be created).
    HWND ControlWindow(const std::string& name) const;
    HWND ControlWindow(int id) const;
    // The object behind a control's window, or nullptr; the painted kinds can
    // be reached through the typed accessors.
    skin::SkinControl* Control(int id) const;
    skin::PaintedTextControl* TextControl(const std::string& name) const;
    skin::PictureControl* PictureControlNamed(const std::string& name) const;
    skin::ColoredButton* ColoredButtonNamed(const std::string& name) const;

    HFONT PageFont() const { return pageFont_; }
    const skin::PageBackground& Background() const { return background_; }

    // The application's current page (the page created or shown last that
    // is still open), or nullptr.
    static SkinnedPage* Current();
    // The page that owns `hwnd` (the page window or one of its controls).
    static SkinnedPage* FromWindow(HWND hwnd);
    // Keys before dispatch: Enter is swallowed; Escape asks the page's host
    // for the cancel confirmation; the rest goes through IsDialogMessage for
    // the page's keyboard navigation. True when the message was used and must
    // not be translated or dispatched.
    static bool PreTranslatePageMessage(MSG* msg);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(WPARAM wParam);
    void OnPaint(HDC dc);
    INT_PTR OnControlColor(UINT msg, HDC dc, HWND control);
    void OnDestroyed();

    void CreateControl(skin::layout::ControlRecord& record, const skin::layout::ControlLine& line) override;
    int Dpi() const override;
    void DestroyControls();
    void CreatePageFont();
    void ApplyControlProperties();
    std::string Expand(const std::string& text) const;

    PageHost* host_;
    HWND hwnd_ = nullptr;
    std::string layoutPath_;
    skin::LocalisedEntries localised_;
    int pageIndex_ = 0;
    int pageCount_ = 0;
    skin::layout::WindowSettings settings_;
    skin::layout::ControlTable table_;
    std::vector<std::unique_ptr<skin::SkinControl>> controls_;  // in creation order
    skin::PageBackground background_;
    HFONT pageFont_ = nullptr;
};

}  // namespace skin

// The object behind one control window of a page: it owns what the control
// draws with (fonts, brushes, pictures, image lists) and, for the kinds the
// page paints itself, handles the window's messages through a subclass.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace skin {

class SkinControl {
public:
    explicit SkinControl(HWND hwnd) : hwnd_(hwnd) {}
    virtual ~SkinControl();
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    HWND Window() const { return hwnd_; }

    // The answer to a WM_CTLCOLOR* message the page reflects from this
    // control: a brush, or nullptr for the default answer.
    virtual HBRUSH OnReflectedColor(HDC) { return nullptr; }

    // Gives the control a font it owns from now on (deleted with it).
    void SetOwnedFont(HFONT font);
    HFONT OwnedFont() const { return font_; }

protected:
    // Routes the window's messages to HandleMessage.
    void Subclass();
    // True when the message was handled; *result is then its answer.
    virtual bool HandleMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    // For controls that draw themselves: answers erasing (nothing: Paint
    // fills what it should), painting and printing with Paint. True when the
    // message was one of those.
    bool HandlePaintMessage(UINT msg, WPARAM wParam, LRESULT* result);
    virtual void Paint(HDC) {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);

    HWND hwnd_;
    HFONT font_ = nullptr;
    bool subclassed_ = false;
};

// A control painted only by the system; it may own a font (BUTTON) or an
// image list (TREEVIEW).
class StandardControl : public SkinControl {
public:
    using SkinControl::SkinControl;
    ~StandardControl() override;
    void SetOwnedImageList(HIMAGELIST images);

private:
    HIMAGELIST images_ = nullptr;
};

}  // namespace skin

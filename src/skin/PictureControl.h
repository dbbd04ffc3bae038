// A static control that shows a picture: BITMAP and HOVER (a picture file)
// and ICON (a built-in icon or an icon file).
#pragma once

#include <string>

#include "skin/OlePicture.h"
#include "skin/SkinControl.h"

namespace skin {

class PictureControl : public SkinControl {
public:
    explicit PictureControl(HWND hwnd);
    ~PictureControl() override;

    // Loads a picture file. A missing file is skipped silently, or, with
    // `reportMissing`, reported in a message box "File not found: (%s)".
    // False when nothing was loaded.
    bool LoadFile(const std::string& path, bool reportMissing);
    // One of the program's icons (loaded from the resources of the program),
    // set on the static control and drawn at 32 by 32.
    void SetBuiltinIcon(int resourceId);
    void SetBackColor(const std::string& colorText);

    bool HasPicture() const { return picture_.Loaded(); }
    int PictureWidth() const { return picture_.Width(); }
    int PictureHeight() const { return picture_.Height(); }
    HICON BuiltinIcon() const { return icon_; }
    COLORREF BackColor() const { return back_; }

    void Paint(HDC dc) override;

protected:
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void PaintPicture(HDC dc);

    OlePicture picture_;
    HICON icon_ = nullptr;
    COLORREF back_;
    HBRUSH brush_ = nullptr;
};

}  // namespace skin

// The background of a page window: a solid brush of its background colour
// and, optionally, a picture stretched over the window's outer size.
#pragma once

#include <windows.h>

#include <string>

#include "skin/OlePicture.h"

namespace skin {

class PageBackground {
public:
    PageBackground();
    ~PageBackground();
    PageBackground(const PageBackground&) = delete;
    PageBackground& operator=(const PageBackground&) = delete;

    void SetColor(COLORREF color);
    HBRUSH Brush() const { return brush_; }
    COLORREF Color() const { return color_; }

    // Decodes the file's bytes into a bitmap picture kept in a memory device
    // context compatible with `window`. False, and no picture, when the file
    // is missing or is not a bitmap picture.
    bool LoadPicture(const std::string& path, HWND window);
    void ClearPicture();
    bool HasPicture() const { return loaded_; }
    int PictureWidth() const { return width_; }
    int PictureHeight() const { return height_; }

    // Stretches the picture over (0, 0, outer width, outer height) of the
    // window into `dc` (COLORONCOLOR, SRCCOPY). Nothing without a picture.
    void PaintPicture(HDC dc, HWND window) const;

private:
    COLORREF color_;
    HBRUSH brush_ = nullptr;
    OlePicture picture_;
    HDC memory_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool loaded_ = false;
};

}  // namespace skin

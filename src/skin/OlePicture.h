// A picture decoded by the system's OLE picture loader: from a file path
// (OleLoadPicturePath; bitmaps, JPEG, GIF, icons, metafiles) or from a
// file's bytes in a memory stream (OleLoadPicture). Holds the picture object
// and its size in screen pixels.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

namespace skin {

// Files larger than this are not decoded (a page picture is far smaller).
constexpr DWORD kMaxPictureFileSize = 64u * 1024u * 1024u;

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

class OlePicture {
public:
    OlePicture() = default;
    ~OlePicture() { Release(); }
    OlePicture(const OlePicture&) = delete;
    OlePicture& operator=(const OlePicture&) = delete;

    // Loads with OleLoadPicturePath (the path in wide characters). False, and
    // empty, when the file cannot be decoded.
    bool LoadPath(const std::string& path);
    // Reads the whole file into a movable global block, wraps it in a memory
    // stream and decodes it with OleLoadPicture.
    bool LoadFileBytes(const std::string& path);
    void Release();

    bool Loaded() const { return picture_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The bitmap of a bitmap picture (BMP, JPEG, GIF); nullptr for other kinds.
    HBITMAP Bitmap() const;
    bool Transparent() const;
    // Draws the picture at (x, y) at its pixel size; selects and realises its
    // palette first when it has one.
    void Render(HDC dc, int x, int y) const;

private:
    void TakeSize();

    IPicture* picture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace skin

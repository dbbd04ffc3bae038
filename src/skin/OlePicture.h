// A picture decoded by the system's OLE picture loader: from a file path
// (OleLoadPicturePath; bitmaps, JPEG, GIF, icons, metafiles) or from a
// file's bytes in a memory stream (OleLoadPicture). Holds the picture object
// and its size in screen pixels.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

// Files larger than this are not decoded (a page picture is far smaller).
constexpr DWORD kMaxPictureFileSize = 64u * 1024u * 1024u;

// True when `path` names an existing file (not a folder).
bool FileExists(const std::string& path);

// Reads a whole picture file (at most kMaxPictureFileSize bytes); false,
// and nothing read, when it is missing, empty, too large or unreadable.
bool ReadPictureFile(const std::string& path, std::vector<uint8_t>* bytes);

class OlePicture {
public:
    OlePicture() = default;
    ~OlePicture() { Release(); }
    OlePicture(const OlePicture&) = delete;
    OlePicture& operator=(const OlePicture&) = delete;

    // Loads with OleLoadPicturePath (the path in wide characters). False, and
    // empty, when the file cannot be decoded.
    bool LoadPath(const std::string& path);
    // Reads the whole file, wraps its bytes in a memory stream and decodes
    // them with OleLoadPicture.
    bool LoadFileBytes(const std::string& path);
    // Decodes a picture file's bytes held in memory (copied first).
    bool LoadMemory(const void* data, size_t size);
    void Release();

    bool Loaded() const { return picture_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The bitmap of a bitmap picture (BMP, JPEG, GIF); nullptr for other kinds.
    HBITMAP Bitmap() const;
    bool Transparent() const;
    // Draws the picture at (x, y) at its pixel size; selects and realises its
    // palette first when it has one.
    void Render(HDC dc, int x, int y) const { Render(dc, x, y, width_, height_); }
    // The same, the whole picture drawn into width by height pixels.
    // False when the picture could not be drawn.
    bool Render(HDC dc, int x, int y, int width, int height) const;

private:
    void TakeSize();
    // Decodes a movable block of `size` bytes; the block is freed here.
    bool DecodeBlock(HGLOBAL block, DWORD size);

    IPicture* picture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace skin

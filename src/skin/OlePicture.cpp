#include "skin/OlePicture.h"

#include <vector>

#include "skin/ControlKinds.h"
#include "skin/PictureSize.h"

namespace skin {

namespace {

// The picture loader needs COM on the calling thread; the page's thread
// joins the apartment once and stays in it.
void JoinApartment() {
    static thread_local bool joined = false;
    if (!joined) {
        CoInitialize(nullptr);
        joined = true;
    }
}

int ScreenDpi(int index) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, index) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void OlePicture::Release() {
    if (picture_) picture_->Release();
    picture_ = nullptr;
    width_ = height_ = 0;
}

bool OlePicture::LoadPath(const std::string& path) {
    Release();
    if (!FileExists(path)) return false;
    JoinApartment();
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return false;
    std::vector<wchar_t> wide(n);
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    if (FAILED(OleLoadPicturePath(wide.data(), nullptr, 0, 0, IID_IPicture,
                                  reinterpret_cast<void**>(&picture_))))
        picture_ = nullptr;
    TakeSize();
    return Loaded();
}

bool ReadPictureFile(const std::string& path, std::vector<uint8_t>* bytes) {
    bytes->clear();
    if (!FileExists(path)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bool read = false;
    if (size != INVALID_FILE_SIZE && size > 0 && size <= kMaxPictureFileSize) {
        bytes->resize(size);
        DWORD got = 0;
        read = ReadFile(file, bytes->data(), size, &got, nullptr) && got == size;
    }
    CloseHandle(file);
    if (!read) bytes->clear();
    return read;
}

bool OlePicture::LoadFileBytes(const std::string& path) {
    Release();
    std::vector<uint8_t> bytes;
    return ReadPictureFile(path, &bytes) && LoadMemory(bytes.data(), bytes.size());
}

bool OlePicture::LoadMemory(const void* data, size_t size) {
    Release();
    if (!data || size == 0 || size > kMaxPictureFileSize) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes) {
        if (block) GlobalFree(block);
        return false;
    }
    memcpy(bytes, data, size);
    GlobalUnlock(block);
    return DecodeBlock(block, static_cast<DWORD>(size));
}

bool OlePicture::DecodeBlock(HGLOBAL block, DWORD size) {
    JoinApartment();
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return false;
    }
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&picture_))))
        picture_ = nullptr;
    stream->Release();  // frees the block
    TakeSize();
    return Loaded();
}

void OlePicture::TakeSize() {
    if (!picture_) return;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture_->get_Width(&w);
    picture_->get_Height(&h);
    // The loader measured the picture with the screen's dots per inch, so this
    // gives back its own pixels; like the layout's rectangles, it is then
    // drawn larger on a screen of more than 96 (ScaleForDpi).
    const int dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
    width_ = skin::layout::ScaleForDpi(static_cast<int>(skin::layout::HimetricToPixels(w, dpiX)), dpiX);
    height_ = skin::layout::ScaleForDpi(static_cast<int>(skin::layout::HimetricToPixels(h, dpiY)), dpiY);
}

HBITMAP OlePicture::Bitmap() const {
    if (!picture_) return nullptr;
    SHORT type = PICTYPE_NONE;
    if (FAILED(picture_->get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture_->get_Handle(&handle))) return nullptr;
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

bool OlePicture::Transparent() const {
    DWORD attributes = 0;
    return picture_ && SUCCEEDED(picture_->get_Attributes(&attributes)) &&
           (attributes & PICTURE_TRANSPARENT);
}

bool OlePicture::Render(HDC dc, int x, int y, int width, int height) const {
    if (!picture_) return false;
    OLE_HANDLE paletteHandle = 0;
    HPALETTE oldPalette = nullptr;
    if (SUCCEEDED(picture_->get_hPal(&paletteHandle)) && paletteHandle) {
        oldPalette = SelectPalette(dc, reinterpret_cast<HPALETTE>(static_cast<UINT_PTR>(paletteHandle)),
                                   FALSE);
        RealizePalette(dc);
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture_->get_Width(&w);
    picture_->get_Height(&h);
    const HRESULT drawn = picture_->Render(dc, x, y, width, height, 0, h, w, -h, nullptr);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
    return SUCCEEDED(drawn);
}

}  // namespace skin

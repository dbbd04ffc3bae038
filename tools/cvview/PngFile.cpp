#include "PngFile.h"

#include <objidl.h>
#include <propidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <vector>

namespace {

// The PNG encoder of GDI+ ("image/png").
bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && lstrcmpW(encoders[i].MimeType, L"image/png") == 0) {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring Wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? n : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(n > 0 ? n - 1 : 0);
    return w;
}

}  // namespace

bool SavePng(HBITMAP bitmap, const std::string& path) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        std::fprintf(stderr, "cvview: GDI+ is not available\n");
        return false;
    }
    bool saved = false;
    {
        CLSID png;
        Gdiplus::Bitmap image(bitmap, nullptr);
        if (!PngEncoder(&png)) std::fprintf(stderr, "cvview: no PNG encoder\n");
        else saved = image.Save(Wide(path).c_str(), &png, nullptr) == Gdiplus::Ok;
        if (!saved) std::fprintf(stderr, "cvview: cannot write %s\n", path.c_str());
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

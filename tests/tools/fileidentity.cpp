// fileidentity PROGRAM: what Windows shows of a program file, read through
// the system's own calls, one "KEY=value" line each (UTF-8):
//   the version resource's texts (GetFileVersionInfo/VerQueryValue) ProductName,
//   FileDescription, CompanyName, ProductVersion, FileVersion, LegalCopyright,
//   OriginalFilename ("<none>" when absent); FixedFileVersion and
//   FixedProductVersion (a.b.c.d);
//   Icons: how many ExtractIconEx counts; IconSize: the large icon it gives
//   (WxH) and IconCentre the colour of its centre (#RRGGBB); Group: the pictures of the first icon group, the one Explorer
//   shows, as WxH in the group's order, comma-separated.
// Exit code 0 when the program has a version resource, 1 otherwise.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Print(const char* key, const std::wstring& value) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(length > 0 ? length : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, value.c_str(), -1, &text[0], length, nullptr, nullptr);
    std::printf("%s=%s\n", key, text.c_str());
}

std::wstring Numbers(DWORD high, DWORD low) {
    wchar_t text[64];
    swprintf(text, 64, L"%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low), LOWORD(low));
    return text;
}

bool PrintVersion(const wchar_t* path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    if (!size) return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(path, 0, size, data.data())) return false;
    WORD* translation = nullptr;
    UINT length = 0;
    wchar_t table[16] = L"040904B0";
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= 4)
        swprintf(table, 16, L"%04X%04X", translation[0], translation[1]);
    for (const char* key : {"ProductName", "FileDescription", "CompanyName", "ProductVersion", "FileVersion",
                            "LegalCopyright", "OriginalFilename"}) {
        const std::wstring query = L"\\StringFileInfo\\" + std::wstring(table) + L"\\" +
                                   std::wstring(key, key + strlen(key));
        wchar_t* value = nullptr;
        Print(key, VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && value
                       ? std::wstring(value)
                       : L"<none>");
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        Print("FixedFileVersion", Numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
        Print("FixedProductVersion", Numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
    }
    return true;
}

// The colour of a picture's centre as #RRGGBB: tells one icon from another.
std::wstring CentrePixel(HBITMAP picture, LONG width, LONG height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, picture, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height || pixels.empty()) return L"none";
    wchar_t text[16];
    swprintf(text, 16, L"#%06X", static_cast<unsigned>(pixels[(height / 2) * width + width / 2] & 0xFFFFFF));
    return text;
}

void PrintIcons(const wchar_t* path) {
    Print("Icons", std::to_wstring(ExtractIconExW(path, -1, nullptr, nullptr, 0)));
    HICON large = nullptr;
    std::wstring size = L"none";
    if (ExtractIconExW(path, 0, &large, nullptr, 1) && large) {
        ICONINFO info = {};
        BITMAP bitmap = {};
        if (GetIconInfo(large, &info) && GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap))
            size = std::to_wstring(bitmap.bmWidth) + L"x" + std::to_wstring(bitmap.bmHeight);
        if (info.hbmColor) Print("IconCentre", CentrePixel(info.hbmColor, bitmap.bmWidth, bitmap.bmHeight));
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        DestroyIcon(large);
    }
    Print("IconSize", size);
}

// The first icon group's name, as the enumeration gives it (resource order).
BOOL CALLBACK FirstGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPCWSTR*>(found) = IS_INTRESOURCE(name) ? name : _wcsdup(name);
    return FALSE;
}

void PrintGroup(const wchar_t* path) {
    std::wstring pictures;
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    LPCWSTR name = nullptr;
    if (module) EnumResourceNamesW(module, MAKEINTRESOURCEW(14), FirstGroup, reinterpret_cast<LONG_PTR>(&name));
    HRSRC found = name ? FindResourceW(module, name, MAKEINTRESOURCEW(14)) : nullptr;
    const BYTE* group = found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (group && size >= 6) {
        const unsigned count = group[4] | group[5] << 8;
        for (unsigned i = 0; i < count && 6 + (i + 1) * 14 <= size; ++i) {
            const unsigned w = group[6 + i * 14] ? group[6 + i * 14] : 256, h = group[7 + i * 14] ? group[7 + i * 14] : 256;
            pictures += (i ? L"," : L"") + std::to_wstring(w) + L"x" + std::to_wstring(h);
        }
    }
    Print("Group", pictures.empty() ? L"none" : pictures);
    if (module) FreeLibrary(module);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fileidentity PROGRAM\n");
        return 2;
    }
    const bool hasVersion = PrintVersion(argv[1]);
    PrintIcons(argv[1]);
    PrintGroup(argv[1]);
    return hasVersion ? 0 : 1;
}

// readlink LINK_FILE: reads a .lnk file back through the shell's link object
// and prints what it holds, one "KEY:value" line each: TARGET, ARGUMENTS,
// DESCRIPTION, WORKDIR, SHOWCMD, ICON (file) and ICONINDEX. Exit code 0 when
// the link loaded, 1 otherwise (with the failing call on stderr).
//
// SHOWCMD comes from the file's header (the DWORD at offset 0x3C of the
// shell link format): Wine 8 saves the show command there but its link
// object reports 1 (normal) after loading any file.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>

namespace {

int Fail(const char* call, HRESULT hr) {
    std::fprintf(stderr, "%s failed: 0x%08lx\n", call, static_cast<unsigned long>(hr));
    return 1;
}

// The show command stored in the link file's header; -1 when unreadable.
long StoredShowCommand(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return -1;
    unsigned char header[0x40] = {};
    const bool read = std::fread(header, 1, sizeof header, f) == sizeof header;
    std::fclose(f);
    if (!read) return -1;
    return header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | static_cast<long>(header[0x3F]) << 24;
}

int PrintLink(IShellLinkA* link, const char* path) {
    char text[INFOTIPSIZE] = "";
    // Raw path: what was stored, not a path resolved on this machine.
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) std::printf("TARGET:%s\n", text);
    text[0] = '\0';
    if (SUCCEEDED(link->GetArguments(text, sizeof text))) std::printf("ARGUMENTS:%s\n", text);
    text[0] = '\0';
    if (SUCCEEDED(link->GetDescription(text, sizeof text))) std::printf("DESCRIPTION:%s\n", text);
    text[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) std::printf("WORKDIR:%s\n", text);
    int index = 0;
    text[0] = '\0';
    if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &index)))
        std::printf("ICON:%s\nICONINDEX:%d\n", text, index);
    std::printf("SHOWCMD:%ld\n", StoredShowCommand(path));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: readlink LINK_FILE\n");
        return 2;
    }
    WCHAR path[MAX_PATH] = L"";
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path, MAX_PATH)) return Fail("MultiByteToWideChar", 0);
    HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr)) return Fail("CoInitialize", hr);
    int rc = 1;
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          reinterpret_cast<void**>(&link));
    if (FAILED(hr)) rc = Fail("CoCreateInstance", hr);
    else if (FAILED(hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        rc = Fail("QueryInterface", hr);
    else if (FAILED(hr = file->Load(path, STGM_READ))) rc = Fail("IPersistFile::Load", hr);
    else rc = PrintLink(link, argv[1]);
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return rc;
}

#include "install/shortcuts/ShellLink.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
// After the COM headers, which it needs.
#include <intshcut.h>

#include "core/Trace.h"

namespace install::shelllink {

namespace {

// The internet-shortcut object and its ANSI interface; written out here so
// that no header has to define GUIDs in this file.
const CLSID kInternetShortcutClass = {0xFBF23B40, 0xE3F0, 0x101B,
                                      {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};
const IID kUrlInterfaceA = {0xFBF23B80, 0xE3F0, 0x101B,
                            {0x84, 0x88, 0x00, 0xAA, 0x00, 0x3E, 0x56, 0xF8}};

// Releases a COM interface when the scope ends.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

bool Succeeded(HRESULT hr, const char* call) {
    if (SUCCEEDED(hr)) return true;
    core::trace::Failure(call, static_cast<unsigned long>(hr));
    return false;
}

// Saves the object behind `object` to `path` through its persist-file
// interface; the path is converted from the ANSI code page and must fit
// MAX_PATH characters with its end.
bool SaveThroughPersistFile(IUnknown* object, const std::string& path) {
    WCHAR wide[MAX_PATH] = L"";
    if (path.empty() ||
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0) {
        core::trace::Failure("MultiByteToWideChar", GetLastError());
        return false;
    }
    ComRef<IPersistFile> file;
    return Succeeded(object->QueryInterface(IID_IPersistFile, file.out()), "QueryInterface(IPersistFile)") &&
           Succeeded(file->Save(wide, TRUE), "IPersistFile::Save");
}

// Sets the fields in the order the link object is given them. A field the
// object refuses is traced and left out; the link is saved all the same.
void SetLinkFields(IShellLinkA* link, const LinkFields& f) {
    Succeeded(link->SetPath(f.target.c_str()), "IShellLinkA::SetPath");
    if (!f.iconFile.empty())
        Succeeded(link->SetIconLocation(f.iconFile.c_str(), f.iconIndex), "IShellLinkA::SetIconLocation");
    if (!f.arguments.empty()) Succeeded(link->SetArguments(f.arguments.c_str()), "IShellLinkA::SetArguments");
    Succeeded(link->SetDescription(f.description.c_str()), "IShellLinkA::SetDescription");
    if (f.showCommand != 0) Succeeded(link->SetShowCmd(f.showCommand), "IShellLinkA::SetShowCmd");
    Succeeded(link->SetWorkingDirectory(f.workingFolder.c_str()), "IShellLinkA::SetWorkingDirectory");
}

}  // namespace

bool SaveLink(const std::string& path, const LinkFields& fields) {
    ComRef<IShellLinkA> link;
    if (!Succeeded(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    link.out()),
                   "CoCreateInstance(ShellLink)"))
        return false;
    SetLinkFields(link.get(), fields);
    return SaveThroughPersistFile(link.get(), path);
}

bool SaveInternetShortcut(const std::string& path, const std::string& url) {
    ComRef<IUniformResourceLocatorA> shortcut;
    return Succeeded(CoCreateInstance(kInternetShortcutClass, nullptr, CLSCTX_INPROC_SERVER, kUrlInterfaceA,
                                      shortcut.out()),
                     "CoCreateInstance(InternetShortcut)") &&
           Succeeded(shortcut->SetURL(url.c_str(), 0), "IUniformResourceLocatorA::SetURL") &&
           SaveThroughPersistFile(shortcut.get(), path);
}

}  // namespace install::shelllink

#include "skin/ControlCreator.h"

#include <commctrl.h>
#include <richedit.h>

#include "core/SystemLibraries.h"
#include "res/skin_resource.h"
#include "skin/ColoredButton.h"
#include "skin/EtchedFrame.h"
#include "skin/PaintedTextControl.h"
#include "skin/PictureControl.h"
#include "skin/SkinGdi.h"

namespace skin {

namespace {

using skin::layout::ControlKind;

struct WindowKind {
    const char* windowClass;
    DWORD style;  // beside WS_CHILD | WS_VISIBLE
};

WindowKind WindowKindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::kButton: return {"BUTTON", WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::kBitmap:
    case ControlKind::kHover: return {"STATIC", SS_BITMAP | SS_CENTERIMAGE};
    case ControlKind::kText:
    case ControlKind::kRect:
    case ControlKind::kListView:
    case ControlKind::kFrame: return {"STATIC", 0};
    case ControlKind::kTextBox: return {"EDIT", WS_TABSTOP | ES_MULTILINE};
    case ControlKind::kComboBox: return {"COMBOBOX", CBS_DROPDOWNLIST | CBS_DISABLENOSCROLL};
    case ControlKind::kRadio: return {"BUTTON", WS_TABSTOP | BS_OWNERDRAW};
    case ControlKind::kCheckBox: return {"BUTTON", WS_TABSTOP | BS_CHECKBOX};
    case ControlKind::kGroupBox: return {"BUTTON", BS_GROUPBOX};
    case ControlKind::kHotSpot:
    case ControlKind::kAnimation: return {"STATIC", WS_BORDER};
    case ControlKind::kProgress: return {PROGRESS_CLASSA, 0};
    case ControlKind::kIcon: return {"STATIC", SS_ICON | SS_CENTERIMAGE};
    case ControlKind::kTreeView: return {WC_TREEVIEWA, TVS_HASLINES};
    case ControlKind::kRichText: return {"RICHEDIT", WS_VSCROLL | ES_WANTRETURN | ES_MULTILINE};
    default: return {nullptr, 0};
    }
}

// The rich edit class comes from RICHED32.DLL, which the program loads at
// start; a program that did not (the preview tool, the tests) gets it here.
void EnsureRichEditClass() {
    WNDCLASSA wc;
    if (!GetClassInfoA(nullptr, "RICHEDIT", &wc)) core::LoadSystemLibrary("RICHED32.DLL");
}

std::unique_ptr<SkinControl> MakeObject(ControlKind kind, HWND hwnd) {
    switch (kind) {
    case ControlKind::kText:
    case ControlKind::kRect:
    case ControlKind::kHotSpot:
    case ControlKind::kAnimation:
    case ControlKind::kListView: return std::make_unique<PaintedTextControl>(hwnd);
    case ControlKind::kBitmap:
    case ControlKind::kHover:
    case ControlKind::kIcon: return std::make_unique<PictureControl>(hwnd);
    case ControlKind::kFrame: return std::make_unique<EtchedFrame>(hwnd);
    case ControlKind::kRadio:
    case ControlKind::kCheckBox:
    case ControlKind::kGroupBox: return std::make_unique<ColoredButton>(hwnd);
    default: return std::make_unique<StandardControl>(hwnd);
    }
}

void SetUpTree(StandardControl& tree) {
    ChangeStyle(tree.Window(), TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0);
    ChangeExStyle(tree.Window(), WS_EX_CLIENTEDGE, 0);
    HIMAGELIST images = CreateTreeImages();
    if (!images) return;
    SendMessageA(tree.Window(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    tree.SetOwnedImageList(images);
}

void SetUpPicture(PictureControl& picture, skin::layout::ControlRecord& record,
                  const std::string& imageFile) {
    if (!picture.LoadFile(imageFile, false)) return;
    record.rect.right = record.rect.left + picture.PictureWidth();
    record.rect.bottom = record.rect.top + picture.PictureHeight();
    MoveWindow(picture.Window(), record.rect.left, record.rect.top, record.rect.Width(),
               record.rect.Height(), TRUE);
}

void SetUpKind(SkinControl& control, skin::layout::ControlRecord& record, const std::string& imageFile) {
    switch (record.kind) {
    case ControlKind::kRect:
    case ControlKind::kListView:
        static_cast<PaintedTextControl&>(control).SetBackColor("255,255,255");
        break;
    case ControlKind::kAnimation:
        static_cast<PaintedTextControl&>(control).SetAlignment("Center");
        break;
    case ControlKind::kRadio:
        SendMessageA(control.Window(), BM_SETSTYLE, BS_RADIOBUTTON, TRUE);
        break;
    case ControlKind::kTreeView:
        SetUpTree(static_cast<StandardControl&>(control));
        break;
    case ControlKind::kBitmap:
    case ControlKind::kHover:
        SetUpPicture(static_cast<PictureControl&>(control), record, imageFile);
        break;
    default:
        break;
    }
}

}  // namespace

HIMAGELIST CreateTreeImages() {
    HBITMAP strip = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr),
                                                    MAKEINTRESOURCEA(IDB_SKIN_TREE), IMAGE_BITMAP,
                                                    0, 0, LR_CREATEDIBSECTION));
    if (!strip) return nullptr;
    HIMAGELIST images = ImageList_Create(32, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (images) ImageList_AddMasked(images, strip, RGB(255, 0, 255));
    DeleteObject(strip);
    return images;
}

std::unique_ptr<SkinControl> CreateControlWindow(HWND page, HFONT pageFont,
                                                 skin::layout::ControlRecord& record,
                                                 const std::string& imageFile) {
    WindowKind wk = WindowKindOf(record.kind);
    if (!wk.windowClass || !page) return nullptr;
    if (record.kind == ControlKind::kRichText) EnsureRichEditClass();
    const skin::layout::KindInfo& info = skin::layout::Info(record.kind);
    const char* text = info.defaultText ? record.defaultText.c_str() : nullptr;
    const DWORD style = WS_CHILD | WS_VISIBLE | wk.style;
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(record.id));
    // A combo box is a Unicode window: the language page lists file names
    // the ANSI code page may lack ("Русский" on a Western system). Its ANSI
    // messages still work, converted in the system's code page.
    HWND hwnd = record.kind == ControlKind::kComboBox
                    ? CreateWindowExW(0, L"COMBOBOX", nullptr, style, record.rect.left, record.rect.top,
                                      record.rect.Width(), record.rect.Height(), page, id,
                                      GetModuleHandleA(nullptr), nullptr)
                    : CreateWindowExA(0, wk.windowClass, text, style, record.rect.left, record.rect.top,
                                      record.rect.Width(), record.rect.Height(), page, id,
                                      GetModuleHandleA(nullptr), nullptr);
    if (!hwnd) return nullptr;
    if (info.pageFont && pageFont)
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(pageFont), TRUE);
    std::unique_ptr<SkinControl> control = MakeObject(record.kind, hwnd);
    SetUpKind(*control, record, imageFile);
    return control;
}

}  // namespace skin

#include "skin/PageControlProperties.h"

#include "skin/ColoredButton.h"
#include "skin/PaintedTextControl.h"
#include "skin/PictureControl.h"
#include "skin/SkinFont.h"
#include "skin/SkinGdi.h"
#include "skin/WindowPlacement.h"
#include "skin/WindowText.h"

namespace skin {

namespace {

using skin::layout::ControlKind;
using skin::layout::ControlRecord;

// A background colour entry: a button-face name is written back into the
// entry as the current button-face colour "%u,%u,%u".
std::string BackgroundEntry(ControlRecord& record, size_t position) {
    std::string text = skin::layout::ResolveBackground(record.Entry(position), skin::ButtonFace());
    if (position < record.entries.size()) record.entries[position].value = text;
    return text;
}

bool IsUnicode(const PropertyTarget& page, const ControlRecord& r) {
    return page.unicodeCaption && page.unicodeCaption(r);
}

std::string Caption(const PropertyTarget& page, const ControlRecord& r, const std::string& text) {
    if (!page.host) return text;
    return IsUnicode(page, r) ? page.host->ExpandUnicodePageText(text) : page.host->ExpandPageText(text);
}

// The caption (entry 1) of the record, expanded when `expand`, in the window.
void SetCaption(const PropertyTarget& page, const ControlRecord& r, HWND hwnd, bool expand = true) {
    const std::string text = expand ? Caption(page, r, r.Entry(1)) : r.Entry(1);
    skin::SetWindowTextIn(hwnd, text, IsUnicode(page, r));
}

skin::FontSpec FontFromEntries(const ControlRecord& r, size_t face) {
    skin::FontSpec font;
    font.face = r.Entry(face);
    font.points = skin::layout::Number(r.Entry(face + 1));
    font.bold = skin::layout::IsNotNo(r.Entry(face + 2));
    font.italic = skin::layout::IsNotNo(r.Entry(face + 3));
    return font;
}

void ApplyButton(const PropertyTarget& page, ControlRecord& r, skin::SkinControl& control) {
    HWND hwnd = control.Window();
    SetCaption(page, r, hwnd);
    control.SetOwnedFont(skin::CreateSkinFont(FontFromEntries(r, 3)));
    if (r.name == "IDC_NEXT") SendMessageA(hwnd, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    if (skin::layout::IsFirstPage(page.pageIndex, page.pageCount) && r.name == "IDC_BACK")
        EnableWindow(hwnd, FALSE);
    if (skin::layout::IsLastPage(page.pageIndex, page.pageCount) &&
        (r.name == "IDC_BACK" || r.name == "IDCANCEL"))
        EnableWindow(hwnd, FALSE);
}

void ApplyText(const PropertyTarget& page, ControlRecord& r, skin::PaintedTextControl& text) {
    skin::FontSpec font = FontFromEntries(r, 5);
    text.SetFont(font.face, font.points, font.bold, font.italic);
    SetCaption(page, r, text.Window());
    std::string word = skin::layout::AlignmentWord(r.Entry(2));
    text.SetAlignment(word.empty() ? r.Entry(2) : word);
    text.SetBackColor(BackgroundEntry(r, 4));
    text.SetTextColor(r.Entry(3));
    if (skin::layout::IsYes(r.Entry(9))) text.SetLink(true);
}

void ApplyColoredButton(const PropertyTarget& page, ControlRecord& r, skin::ColoredButton& button) {
    SetCaption(page, r, button.Window(), r.kind == ControlKind::kRadio);
    button.SetBackColor(BackgroundEntry(r, 2));
    if (r.kind != ControlKind::kGroupBox) button.SetTextColor(r.Entry(3));
}

void ApplyIcon(ControlRecord& r, skin::PictureControl& icon) {
    const std::string& value = r.Entry(1);
    if (skin::layout::NamesBuiltinIcon(value)) {
        if (int resource = skin::layout::BuiltinIconResource(value)) icon.SetBuiltinIcon(resource);
    } else if (!value.empty()) {
        icon.LoadFile(value, true);
    }
    icon.SetBackColor(BackgroundEntry(r, 2));
}

void ApplyListView(const PropertyTarget& page, const ControlRecord& r, HWND hwnd) {
    const std::string& style = r.Entry(2);
    if (style.empty()) return;
    if (style[0] == '0') skin::ChangeStyle(hwnd, 0, WS_BORDER);
    else if (style[0] == '1') skin::ChangeStyle(hwnd, WS_BORDER, 0);
    else return;
    InvalidateRect(page.window, nullptr, TRUE);
}

void ApplyOne(const PropertyTarget& page, ControlRecord& r, skin::SkinControl* control) {
    if (skin::layout::Info(r.kind).nameFromEntry0) r.name = r.Entry(0);
    if (!control) return;
    HWND hwnd = control->Window();
    switch (r.kind) {
    case ControlKind::kButton:
        ApplyButton(page, r, *control);
        break;
    case ControlKind::kText:
        ApplyText(page, r, static_cast<skin::PaintedTextControl&>(*control));
        break;
    case ControlKind::kRect:
        static_cast<skin::PaintedTextControl&>(*control).SetBackColor(BackgroundEntry(r, 1));
        break;
    case ControlKind::kGroupBox:
    case ControlKind::kRadio:
    case ControlKind::kCheckBox:
        ApplyColoredButton(page, r, static_cast<skin::ColoredButton&>(*control));
        break;
    case ControlKind::kTextBox:
        // Text, password and read-only entries leave the box as it is.
        if (r.name == "IDC_SETTINGS") skin::ChangeExStyle(hwnd, WS_EX_RIGHT | WS_EX_NOPARENTNOTIFY, 0);
        break;
    case ControlKind::kProgress:
        if (r.name == "IDC_DOWNLOADPROGRESS") ShowWindow(hwnd, SW_HIDE);
        break;
    case ControlKind::kIcon:
        ApplyIcon(r, static_cast<skin::PictureControl&>(*control));
        break;
    case ControlKind::kBitmap:
    case ControlKind::kHover:
        static_cast<skin::PictureControl&>(*control).SetBackColor(BackgroundEntry(r, 2));
        break;
    case ControlKind::kListView:
        ApplyListView(page, r, hwnd);
        break;
    default:
        break;
    }
}

}  // namespace

void PageControlProperties::Apply(const PropertyTarget& page) {
    if (!page.table) return;
    for (size_t i = 0; i < page.table->Size(); ++i) {
        ControlRecord& record = page.table->At(i);
        ApplyOne(page, record, page.control ? page.control(record.id) : nullptr);
    }
}

}  // namespace skin

#include "skin/ControlKinds.h"

#include <cstdio>

namespace skin::layout {

namespace {

const KindInfo kKinds[kKindCount] = {
    {ControlKind::kButton, "BUTTON", 10, false, "Button %i", "IDC_BUTTON%i", true, true},
    {ControlKind::kBitmap, "BITMAP", 0, false, "", "IDB_BITMAP%i", false, false},
    {ControlKind::kText, "TEXT", 8, false, "Text %i", "IDC_STATIC%i", false, true},
    {ControlKind::kRect, "RECT", 10, false, "", "IDC_RECT%i", false, false},
    {ControlKind::kHover, "HOVER", 0, false, "", "IDC_HOVER%i", false, false},
    {ControlKind::kTextBox, "TEXTBOX", 10, false, "", "IDC_TEXT%i", true, true},
    {ControlKind::kComboBox, "COMBOBOX", 10, false, nullptr, "IDC_COMBO%i", true, true},
    {ControlKind::kRadio, "RADIO", 10, false, "Radio %i", "IDC_RADIO%i", true, true},
    {ControlKind::kHotSpot, "HOTSPOT", 10, false, "", "IDC_HOTSPOT%i", false, false},
    {ControlKind::kAnimation, "ANIMATION", 8, false, "Animation Box %i", "IDC_ANIMATION%i", true,
     false},
    {ControlKind::kProgress, "PROGRESS", 8, false, nullptr, "IDC_PROGRESS%i", false, true},
    {ControlKind::kListView, "LISTVIEW", 8, false, "ListView%i", "IDC_LISTVIEW%i", false, false},
    {ControlKind::kGroupBox, "GROUPBOX", 10, false, "GroupBox %i", "IDC_GROUPBOX%i", true, false},
    {ControlKind::kIcon, "ICON", 0, true, "", "IDC_ICON%i", false, false},
    {ControlKind::kTreeView, "TREEVIEW", 8, false, nullptr, "IDC_TREEVIEW%i", true, true},
    {ControlKind::kFrame, "FRAME", 8, false, "", "IDC_FRAME%i", false, false},
    {ControlKind::kRichText, "RICHTEXT", 10, false, "", "IDC_RICHTEXT%i", false, true},
    {ControlKind::kCheckBox, "CHECKBOX", 10, false, "CheckBox%i", "IDC_CHECKBOX%i", true, true},
};

const KindInfo kNoKind = {ControlKind::kNone, "", 0, false, nullptr, "", false, false};

struct IconName {
    const char* name;
    int resource;
};

const IconName kIcons[] = {
    {"IDI_EXCLAMATION", 141}, {"IDI_INFO", 132},  {"IDI_ERROR", 135}, {"IDI_TYPICAL", 133},
    {"IDI_MINIMAL", 134},     {"IDI_CUSTOM", 138}, {"IDI_SETUP", 137}, {"IDI_FOLDER", 136},
};

}  // namespace

ControlKind KindFromKeyword(const std::string& keyword) {
    for (const KindInfo& k : kKinds)
        if (keyword == k.keyword) return k.kind;
    return ControlKind::kNone;
}

const KindInfo& Info(ControlKind kind) {
    int i = static_cast<int>(kind);
    return i >= 0 && i < kKindCount ? kKinds[i] : kNoKind;
}

int KindTable(ControlKind kind) {
    return kind == ControlKind::kHover ? static_cast<int>(ControlKind::kBitmap)
                                       : static_cast<int>(kind);
}

Rect ApplyMinimumSize(ControlKind kind, const Rect& rect) {
    const KindInfo& info = Info(kind);
    if (info.fixedIcon) return Rect{rect.left, rect.top, rect.left + 32, rect.top + 32};
    if (info.minHeight > 0 && rect.Width() < 30 && rect.Height() < info.minHeight)
        return Rect{rect.left, rect.top, rect.left + 90, rect.top + 25};
    return rect;
}

std::string FormatWithCount(const char* format, int count) {
    if (!format) return "";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, count + 1);
    return buffer;
}

int BuiltinIconResource(const std::string& name) {
    for (const IconName& icon : kIcons)
        if (name == icon.name) return icon.resource;
    return 0;
}

bool NamesBuiltinIcon(const std::string& value) { return value.compare(0, 3, "IDI") == 0; }

int ScaleForDpi(int value, int dpi) {
    if (dpi < 1) dpi = kLayoutDpi;
    constexpr long long kLimit = 1000000;
    long long v = static_cast<long long>(value) * dpi;
    v = v >= 0 ? (v + kLayoutDpi / 2) / kLayoutDpi : -((-v + kLayoutDpi / 2) / kLayoutDpi);
    return static_cast<int>(v > kLimit ? kLimit : (v < -kLimit ? -kLimit : v));
}

Rect ScaleForDpi(const Rect& rect, int dpi) {
    return Rect{ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
                ScaleForDpi(rect.bottom, dpi)};
}

}  // namespace skin::layout

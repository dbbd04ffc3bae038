// The kinds of control a layout line can create, with what the page needs to
// know about each before any window exists: the keyword, the minimum-size
// rule, the generated name and default text, whether the page font is sent,
// and which kind table holds it.
#pragma once

#include <string>

namespace skin::layout {

enum class ControlKind {
    kButton, kBitmap, kText, kRect, kHover, kTextBox, kComboBox, kRadio, kHotSpot,
    kAnimation, kProgress, kListView, kGroupBox, kIcon, kTreeView, kFrame, kRichText,
    kCheckBox,
    kNone  // a keyword that is no kind: the line creates nothing
};

constexpr int kKindCount = static_cast<int>(ControlKind::kNone);

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Layouts give pixels of a screen of 96 dots per inch (100 %). On a screen
// of `dpi` the page scales them by dpi / 96, as the system scales the fonts
// and the pictures' sizes, so that texts and pictures still fit their places.
constexpr int kLayoutDpi = 96;
// value * dpi / 96, rounded to the nearest pixel, kept within +-1 000 000;
// a dpi below 1 counts as 96.
int ScaleForDpi(int value, int dpi);
Rect ScaleForDpi(const Rect& rect, int dpi);

struct KindInfo {
    ControlKind kind;
    const char* keyword;      // as written in the control line, case-sensitive
    int minHeight;            // threshold of the minimum-size rule; 0: no rule
    bool fixedIcon;           // always 32 by 32
    const char* defaultText;  // "%i" takes the kind count + 1; nullptr: no text
    const char* nameFormat;   // generated name, "%i" as above
    bool pageFont;            // the page font is sent at creation
    bool nameFromEntry0;      // property entry 0 becomes the name
};

// The kind of a control line keyword; kNone for anything else.
ControlKind KindFromKeyword(const std::string& keyword);
const KindInfo& Info(ControlKind kind);

// The kind table a control lives in: BITMAP and HOVER share one.
int KindTable(ControlKind kind);

// The creation rectangle: narrower than 30 pixels and at the same time lower
// than the kind's threshold gives 90 by 25 at the same corner; ICON is always
// 32 by 32.
Rect ApplyMinimumSize(ControlKind kind, const Rect& rect);

// The generated name or default text of the kind with "%i" set to count + 1.
std::string FormatWithCount(const char* format, int count);

// The resource identifier of a built-in icon name ("IDI_EXCLAMATION", ...);
// 0 for a name that is not one of the eight.
int BuiltinIconResource(const std::string& name);
// An "Icon File:" value that selects a built-in icon (it begins with "IDI").
bool NamesBuiltinIcon(const std::string& value);

}  // namespace skin::layout

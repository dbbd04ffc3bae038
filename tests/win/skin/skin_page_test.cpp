// Pages built from layout files: the controls' window classes, styles,
// identifiers and names, texts with placeholders, fonts, colours, the
// navigation buttons' page-list rules, and the window properties.
#include <windows.h>
#include <commctrl.h>

#include "skin/ColoredButton.h"
#include "skin/PaintedTextControl.h"
#include "skin/PictureControl.h"
#include "skin/SkinFont.h"
#include "skin/SkinGdi.h"
#include "skin_support.h"

using namespace skintest;

namespace {

class SkinPage : public PageFixture {};

struct KindRow {
    const char* kind;
    const char* windowClass;
    LONG_PTR styleBits;   // must all be set
    LONG_PTR typeMask;    // when not 0: style & typeMask == typeValue
    LONG_PTR typeValue;
};

TEST_F(SkinPage, EveryKindGetsItsWindowClassAndStyles) {
    const KindRow rows[] = {
        {"BUTTON", "Button", WS_TABSTOP, BS_TYPEMASK, BS_PUSHBUTTON},
        {"BITMAP", "Static", SS_CENTERIMAGE, SS_TYPEMASK, SS_BITMAP},
        {"TEXT", "Static", 0, SS_TYPEMASK, SS_LEFT},
        {"RECT", "Static", 0, 0, 0},
        {"HOVER", "Static", SS_CENTERIMAGE, SS_TYPEMASK, SS_BITMAP},
        {"TEXTBOX", "Edit", WS_TABSTOP | ES_MULTILINE, 0, 0},
        {"COMBOBOX", "ComboBox", CBS_DISABLENOSCROLL, 3, CBS_DROPDOWNLIST},
        {"RADIO", "Button", WS_TABSTOP, BS_TYPEMASK, BS_RADIOBUTTON},
        {"HOTSPOT", "Static", WS_BORDER, 0, 0},
        {"ANIMATION", "Static", WS_BORDER, 0, 0},
        {"PROGRESS", "msctls_progress32", 0, 0, 0},
        {"LISTVIEW", "Static", 0, 0, 0},
        {"GROUPBOX", "Button", 0, BS_TYPEMASK, BS_GROUPBOX},
        {"ICON", "Static", SS_CENTERIMAGE, SS_TYPEMASK, SS_ICON},
        {"TREEVIEW", "SysTreeView32",
         TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0},
        {"FRAME", "Static", 0, 0, 0},
        // The rich edit shows and hides its scroll bar (WS_VSCROLL) itself.
        {"RICHTEXT", "RICHEDIT", ES_WANTRETURN | ES_MULTILINE, 0, 0},
        {"CHECKBOX", "Button", WS_TABSTOP, BS_TYPEMASK, BS_CHECKBOX},
    };
    const int n = sizeof rows / sizeof rows[0];
    std::string text = MainWindow() + "[INFO]\r\nTOTAL=" + std::to_string(n) + "\r\n";
    for (int i = 0; i < n; ++i) text += Line(i, rows[i].kind, 100 + i, 5 + (i % 6) * 60, 5 + (i / 6) * 60, 55, 50);
    skin::SkinnedPage& page = Open("kinds.lcd", text);
    ASSERT_EQ(page.RecordCount(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(rows[i].kind);
        const skin::layout::ControlRecord& r = page.Record(i);
        EXPECT_EQ(r.keyword, rows[i].kind);
        EXPECT_EQ(r.id, 3000 + n - 1 - i);
        HWND hwnd = page.ControlWindow(r.id);
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetDlgCtrlID(hwnd), r.id);
        EXPECT_EQ(GetParent(hwnd), page.Window());
        EXPECT_EQ(lstrcmpiA(ClassOf(hwnd).c_str(), rows[i].windowClass), 0) << ClassOf(hwnd);
        LONG_PTR style = StyleOf(hwnd);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(style & rows[i].styleBits, rows[i].styleBits);
        if (rows[i].typeMask) {
            EXPECT_EQ(style & rows[i].typeMask, rows[i].typeValue);
        }
    }
    HWND tree = page.ControlWindow(page.Record(14).id);
    EXPECT_TRUE(ExStyleOf(tree) & WS_EX_CLIENTEDGE);
    // Only these kinds carry the thin border.
    EXPECT_FALSE(StyleOf(page.ControlWindow(page.Record(2).id)) & WS_BORDER);
    EXPECT_FALSE(StyleOf(page.ControlWindow(page.Record(11).id)) & WS_BORDER);
}

TEST_F(SkinPage, PageFontGoesToTheKindsThatTakeIt) {
    const char* kinds[] = {"TEXTBOX", "COMBOBOX", "GROUPBOX", "ANIMATION", "TREEVIEW",
                           "LISTVIEW", "RECT", "PROGRESS"};
    const bool takes[] = {true, true, true, true, true, false, false, false};
    std::string text = MainWindow() + "[INFO]\r\nTOTAL=8\r\n";
    for (int i = 0; i < 8; ++i) text += Line(i, kinds[i], i, 10, 10 + 30 * i);
    skin::SkinnedPage& page = Open("fonts.lcd", text);
    ASSERT_NE(page.PageFont(), nullptr);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(kinds[i]);
        HFONT font = reinterpret_cast<HFONT>(
            SendMessageA(page.ControlWindow(page.Record(i).id), WM_GETFONT, 0, 0));
        EXPECT_EQ(font == page.PageFont(), takes[i]);
    }
}

TEST_F(SkinPage, DefaultTextsAndGeneratedNamesOfKindsWithoutNames) {
    skin::SkinnedPage& page = Open("defaults.lcd", MainWindow() + "[INFO]\r\nTOTAL=4\r\n" +
                                                 Line(0, "ANIMATION", 1) + Line(1, "LISTVIEW", 2) +
                                                 Line(2, "ANIMATION", 3) + Line(3, "FRAME", 4) +
                                                 "[DADOS]\r\n" + Entries(1, {{"Name", "IDC_ANIM"}}));
    // Kinds that keep their generated names; "%i" is the kind's count + 1.
    EXPECT_EQ(page.Record(0).name, "IDC_ANIMATION2");
    EXPECT_EQ(TextOf(page.ControlWindow(page.Record(0).id)), "Animation Box 2");
    EXPECT_EQ(page.Record(2).name, "IDC_ANIMATION1");
    EXPECT_EQ(page.Record(1).name, "IDC_LISTVIEW1");
    EXPECT_EQ(TextOf(page.ControlWindow(page.Record(1).id)), "ListView1");
    EXPECT_EQ(page.Record(3).name, "IDC_FRAME1");
    EXPECT_EQ(page.FindControl("IDC_ANIM"), -1);
    EXPECT_EQ(page.FindControl("IDC_ANIMATION2"), 3003);
    // The animation box starts centred; the list view on white.
    skin::PaintedTextControl* anim = page.TextControl("IDC_ANIMATION1");
    ASSERT_NE(anim, nullptr);
    EXPECT_EQ(anim->Format(), static_cast<UINT>(DT_WORDBREAK | DT_CENTER));
    skin::PaintedTextControl* list = page.TextControl("IDC_LISTVIEW1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->BackColor(), RGB(255, 255, 255));
    EXPECT_TRUE(list->FillsBackground());
}

TEST_F(SkinPage, NamesFromEntryZeroAndLookupFindsTheFirstLine) {
    skin::SkinnedPage& page = Open(
        "names.lcd", MainWindow() + "[INFO]\r\nTOTAL=3\r\n" + Line(0, "BUTTON", 1) +
                         Line(1, "BUTTON", 2, 10, 40) + Line(2, "TEXT", 3, 10, 70) + "[DADOS]\r\n" +
                         Entries(1, {{"Name", "IDC_SAME"}, {"Caption", "first"}}) +
                         Entries(2, {{"Name", "IDC_SAME"}, {"Caption", "second"}}) +
                         Entries(3, {{"Name", "IDC_TITLE"}}));
    EXPECT_EQ(page.FindControl("IDC_SAME"), 3002);
    EXPECT_EQ(TextOf(page.ControlWindow("IDC_SAME")), "first");
    EXPECT_EQ(page.FindControl("IDC_TITLE"), 3000);
    EXPECT_EQ(page.FindControl("idc_title"), -1);
    EXPECT_EQ(page.FindRecord(3002), 0);
    EXPECT_EQ(page.FindRecord(3000), 2);
    EXPECT_EQ(page.FindRecord(2999), -1);
    EXPECT_EQ(page.ControlWindow("IDC_NONE"), nullptr);
    EXPECT_EQ(GetDlgItem(page.Window(), 3001), page.ControlWindow(3001));
}

TEST_F(SkinPage, TextsExpandPlaceholdersExceptGroupBoxAndCheckBox) {
    const std::string caption = "Install <ProductName>";
    skin::SkinnedPage& page = Open(
        "texts.lcd",
        "[MAINWINDOW]\r\ncaption=<ProductName> Setup\r\nstartup=2\r\nwidth=400\r\nheight=300\r\n"
        "[INFO]\r\nTOTAL=5\r\n" +
            Line(0, "BUTTON", 1) + Line(1, "TEXT", 2, 10, 40) + Line(2, "RADIO", 3, 10, 70) +
            Line(3, "GROUPBOX", 4, 10, 100, 200, 50) + Line(4, "CHECKBOX", 5, 10, 160) +
            "[DADOS]\r\n" + Entries(1, {{"Name", "B"}, {"Caption", caption}}) +
            Entries(2, {{"Name", "T"}, {"Caption", caption}}) +
            Entries(3, {{"Name", "R"}, {"Text", caption}}) +
            Entries(4, {{"Name", "G"}, {"Caption", caption}}) +
            Entries(5, {{"Name", "C"}, {"Text", caption}}));
    EXPECT_EQ(TextOf(page.Window()), "Widget Setup");
    EXPECT_EQ(page.WindowProperty(skin::layout::kCaption), "<ProductName> Setup");
    EXPECT_EQ(TextOf(page.ControlWindow("B")), "Install Widget");
    EXPECT_EQ(TextOf(page.ControlWindow("T")), "Install Widget");
    EXPECT_EQ(TextOf(page.ControlWindow("R")), "Install Widget");
    EXPECT_EQ(TextOf(page.ControlWindow(page.Record(3).id)), caption);  // GROUPBOX keeps its generated name
    EXPECT_EQ(page.Record(3).name, "IDC_GROUPBOX1");
    EXPECT_EQ(TextOf(page.ControlWindow("C")), caption);
}

std::string NavigationLayout() {
    return MainWindow() + "[INFO]\r\nTOTAL=4\r\n" + Line(0, "BUTTON", 1) +
           Line(1, "BUTTON", 2, 120) + Line(2, "BUTTON", 3, 230) + Line(3, "BUTTON", 4, 10, 50) +
           "[DADOS]\r\n" + Entries(1, {{"Name", "IDC_BACK"}, {"Caption", "< Back"}}) +
           Entries(2, {{"Name", "IDC_NEXT"}, {"Caption", "Next >"}}) +
           Entries(3, {{"Name", "IDCANCEL"}, {"Caption", "Cancel"}}) +
           Entries(4, {{"Name", "IDC_OTHER"}, {"Caption", "Other"}});
}

TEST_F(SkinPage, NextIsTheDefaultButton) {
    skin::SkinnedPage& page = Open("nav.lcd", NavigationLayout(), 1, 3);
    EXPECT_EQ(StyleOf(page.ControlWindow("IDC_NEXT")) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(StyleOf(page.ControlWindow("IDC_BACK")) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(StyleOf(page.ControlWindow("IDC_OTHER")) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(SkinPage, BackAndCancelFollowThePlaceInThePageList) {
    WriteLayout("nav.lcd", NavigationLayout());
    struct Case {
        int index, count;
        bool back, cancel;
    } cases[] = {
        {0, 5, false, true},   // first page
        {2, 5, true, true},    // middle page
        {4, 5, false, false},  // last page
        {5, 5, false, false},  // the complete page after a cancel
        {-1, 50, true, true},  // the start page
        {0, 1, false, false},  // the only page is first and last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + " of " + std::to_string(c.count));
        skin::SkinnedPage& page = OpenExisting("nav.lcd", c.index, c.count);
        EXPECT_EQ(IsWindowEnabled(page.ControlWindow("IDC_BACK")) != FALSE, c.back);
        EXPECT_EQ(IsWindowEnabled(page.ControlWindow("IDCANCEL")) != FALSE, c.cancel);
        EXPECT_TRUE(IsWindowEnabled(page.ControlWindow("IDC_NEXT")));
        EXPECT_TRUE(IsWindowEnabled(page.ControlWindow("IDC_OTHER")));
        EXPECT_EQ(page.PageIndex(), c.index);
        EXPECT_EQ(page.PageCount(), c.count);
    }
}

TEST_F(SkinPage, DownloadProgressStartsHidden) {
    skin::SkinnedPage& page = Open("progress.lcd",
                             MainWindow() + "[INFO]\r\nTOTAL=2\r\n" + Line(0, "PROGRESS", 1) +
                                 Line(1, "PROGRESS", 2, 10, 50) + "[DADOS]\r\n" +
                                 Entries(1, {{"Name", "IDC_DOWNLOADPROGRESS"}}) +
                                 Entries(2, {{"Name", "IDC_PROGRESS"}}));
    EXPECT_FALSE(StyleOf(page.ControlWindow("IDC_DOWNLOADPROGRESS")) & WS_VISIBLE);
    EXPECT_TRUE(StyleOf(page.ControlWindow("IDC_PROGRESS")) & WS_VISIBLE);
}

TEST_F(SkinPage, SettingsBoxGetsItsExtendedStyles) {
    skin::SkinnedPage& page = Open("box.lcd", MainWindow() + "[INFO]\r\nTOTAL=2\r\n" + Line(0, "TEXTBOX", 1) +
                                            Line(1, "TEXTBOX", 2, 10, 50) + "[DADOS]\r\n" +
                                            Entries(1, {{"Name", "IDC_SETTINGS"}, {"Text", "abc"}}) +
                                            Entries(2, {{"Name", "IDC_NAME"}, {"Text", "abc"}}));
    EXPECT_EQ(ExStyleOf(page.ControlWindow("IDC_SETTINGS")) & (WS_EX_RIGHT | WS_EX_NOPARENTNOTIFY),
              WS_EX_RIGHT | WS_EX_NOPARENTNOTIFY);
    EXPECT_FALSE(ExStyleOf(page.ControlWindow("IDC_NAME")) & WS_EX_RIGHT);
    // The "Text" entry does not fill a text box.
    EXPECT_EQ(TextOf(page.ControlWindow("IDC_NAME")), "");
}

TEST_F(SkinPage, ListViewStyleSwitchesTheBorder) {
    skin::SkinnedPage& page =
        Open("list.lcd", MainWindow() + "[INFO]\r\nTOTAL=3\r\n" + Line(0, "LISTVIEW", 1) +
                             Line(1, "LISTVIEW", 2, 10, 50) + Line(2, "LISTVIEW", 3, 10, 90) +
                             "[DADOS]\r\n" + Entries(1, {{"Name", "a"}, {"x", ""}, {"Style", "1 on"}}) +
                             Entries(2, {{"Name", "b"}, {"x", ""}, {"Style", "0"}}) +
                             Entries(3, {{"Name", "c"}, {"x", ""}, {"Style", "7"}}));
    EXPECT_TRUE(StyleOf(page.ControlWindow(page.Record(0).id)) & WS_BORDER);
    EXPECT_FALSE(StyleOf(page.ControlWindow(page.Record(1).id)) & WS_BORDER);
    EXPECT_FALSE(StyleOf(page.ControlWindow(page.Record(2).id)) & WS_BORDER);
}

TEST_F(SkinPage, WindowPropertiesChangeTheWindow) {
    skin::SkinnedPage& page = Open("props.lcd",
                             "[MAINWINDOW]\r\nidcname=IDD_X\r\nbkcolor=10,20\r\nborder=0\r\n"
                             "soundfile={ding}.wav\r\nstartup=1\r\nminwindow=Yes\r\nmaxwindow=yes\r\n"
                             "closewindow=No\r\n");
    HWND w = page.Window();
    EXPECT_FALSE(StyleOf(w) & WS_BORDER);
    EXPECT_TRUE(StyleOf(w) & WS_MINIMIZEBOX);
    EXPECT_FALSE(StyleOf(w) & WS_MAXIMIZEBOX);  // only "Yes" exactly
    EXPECT_FALSE(StyleOf(w) & WS_SYSMENU);
    EXPECT_TRUE(ExStyleOf(w) & WS_EX_APPWINDOW);
    EXPECT_EQ(page.Background().Color(), RGB(10, 0, 20));  // one comma: red and blue
    EXPECT_EQ(page.WindowProperty(skin::layout::kIdcName), "IDD_X");
    EXPECT_EQ(page.WindowProperty(skin::layout::kSoundFile), "ding.wav");

    skin::SkinnedPage& other = Open("props2.lcd",
                              "[MAINWINDOW]\r\nborder=1\r\nmaxwindow=Yes\r\nclosewindow=Yes\r\n");
    EXPECT_TRUE(StyleOf(other.Window()) & WS_BORDER);
    EXPECT_TRUE(StyleOf(other.Window()) & WS_MAXIMIZEBOX);
    EXPECT_FALSE(StyleOf(other.Window()) & WS_MINIMIZEBOX);
    EXPECT_TRUE(StyleOf(other.Window()) & WS_SYSMENU);
}

TEST_F(SkinPage, ButtonFaceBackgroundIsWrittenBackAsNumbers) {
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::string faceText = std::to_string(GetRValue(face)) + "," +
                                 std::to_string(GetGValue(face)) + "," + std::to_string(GetBValue(face));
    skin::SkinnedPage& empty = Open("face1.lcd", "[MAINWINDOW]\r\nbkcolor=\r\n");
    EXPECT_EQ(empty.WindowProperty(skin::layout::kBkColor), faceText);
    EXPECT_EQ(empty.Background().Color(), face);
    skin::SkinnedPage& named = Open(
        "face2.lcd", "[MAINWINDOW]\r\nbkcolor=COLOR_BTNFACE\r\n[INFO]\r\nTOTAL=1\r\n" + Line(0, "TEXT", 1) +
                         "[DADOS]\r\n" +
                         Entries(1, {{"Name", "T"}, {"Caption", "x"}, {"Align", "1"}, {"Color", ""},
                                     {"BackColor", "COLOR_BTNFACE"}}));
    EXPECT_EQ(named.WindowProperty(skin::layout::kBkColor), faceText);
    EXPECT_EQ(named.Record(0).entries[4].value, faceText);
    EXPECT_EQ(named.TextControl("T")->BackColorText(), faceText);
}

TEST_F(SkinPage, PageFontIsBoldAndItalicUnlessNo) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    skin::SkinnedPage& absent = Open("f1.lcd", "[MAINWINDOW]\r\nfontname=Tahoma\r\nfontsize=10\r\nfontbold=\r\n");
    LOGFONTA lf = FontOf(absent.PageFont());
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, dpi, 72));
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    skin::SkinnedPage& off = Open("f2.lcd", "[MAINWINDOW]\r\nfontbold=No\r\nfontitalic=No\r\n");
    lf = FontOf(off.PageFont());
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_FALSE(lf.lfItalic);
    // A missing file: bold italic font of empty face name, no controls.
    skin::SkinnedPage& missing = OpenExisting("no-such-page.lcd");
    ASSERT_TRUE(missing.IsOpen());
    lf = FontOf(missing.PageFont());
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(missing.RecordCount(), 0u);
    EXPECT_FALSE(missing.Background().HasPicture());
    EXPECT_EQ(missing.Background().Color(), GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinPage, ButtonAndTextFontsComeFromTheirEntries) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    skin::SkinnedPage& page = Open(
        "cfont.lcd",
        MainWindow() + "[INFO]\r\nTOTAL=3\r\n" + Line(0, "BUTTON", 1) + Line(1, "TEXT", 2, 10, 40) +
            Line(2, "BUTTON", 3, 10, 80) + "[DADOS]\r\n" +
            Entries(1, {{"Name", "B"}, {"Caption", "b"}, {"Align", "0"}, {"Font", "Courier New"},
                        {"Size", "12"}, {"Bold", "No"}, {"Italic", "Yes"}}) +
            Entries(2, {{"Name", "T"}, {"Caption", "t"}, {"Align", "1"}, {"Color", "1,2,3"},
                        {"Back", ""}, {"Font", "Arial"}, {"Size", "9"}, {"Bold", "Yes"}, {"Italic", "No"}}) +
            Entries(3, {{"Name", "B2"}, {"Caption", "b2"}}));
    LOGFONTA button = FontOf(reinterpret_cast<HFONT>(SendMessageA(page.ControlWindow("B"), WM_GETFONT, 0, 0)));
    EXPECT_STREQ(button.lfFaceName, "Courier New");
    EXPECT_EQ(button.lfHeight, -MulDiv(12, dpi, 72));
    EXPECT_EQ(button.lfWeight, FW_NORMAL);
    EXPECT_TRUE(button.lfItalic);
    LOGFONTA text = FontOf(page.TextControl("T")->Font());
    EXPECT_STREQ(text.lfFaceName, "Arial");
    EXPECT_EQ(text.lfHeight, -MulDiv(9, dpi, 72));
    EXPECT_EQ(text.lfWeight, FW_BOLD);
    EXPECT_FALSE(text.lfItalic);
    EXPECT_FALSE(text.lfUnderline);
    EXPECT_EQ(page.TextControl("T")->TextColor(), RGB(1, 2, 3));
    EXPECT_EQ(page.TextControl("T")->Format(), static_cast<UINT>(DT_WORDBREAK | DT_LEFT));
    // Absent font entries read empty: bold and italic.
    LOGFONTA bare = FontOf(reinterpret_cast<HFONT>(SendMessageA(page.ControlWindow("B2"), WM_GETFONT, 0, 0)));
    EXPECT_EQ(bare.lfWeight, FW_BOLD);
    EXPECT_TRUE(bare.lfItalic);
}

TEST_F(SkinPage, TextAlignmentFillAndLink) {
    auto text = [](int n, const char* align, const char* color, const char* back, const char* link) {
        return Entries(n, {{"Name", "T" + std::to_string(n)}, {"Caption", "x"}, {"Text Align", align},
                           {"Text Color", color}, {"BackColor", back}, {"Font", "Tahoma"},
                           {"Size", "8"}, {"Bold", "No"}, {"Italic", "No"}, {"URL Link", link}});
    };
    std::string layout = MainWindow() + "[INFO]\r\nTOTAL=5\r\n";
    for (int i = 0; i < 5; ++i) layout += Line(i, "TEXT", i, 10, 10 + 30 * i);
    layout += "[DADOS]\r\n" + text(0, "0", "255,0,0", "", "Yes") + text(1, "2 right", "0,128,0", "0,255,0", "No") +
              text(2, "Center", "", "COLOR_BTNFACE", "yes") + text(3, "9", "", "1,1,1", "") +
              text(4, "Right", "", "", "");
    skin::SkinnedPage& page = Open("align.lcd", layout);
    skin::PaintedTextControl* t0 = page.TextControl("T0");
    ASSERT_NE(t0, nullptr);
    EXPECT_EQ(t0->Format(), static_cast<UINT>(DT_WORDBREAK | DT_CENTER));
    EXPECT_TRUE(t0->IsLink());
    EXPECT_EQ(t0->TextColor(), RGB(0, 0, 255));  // a link is blue whatever its colour entry
    EXPECT_TRUE(FontOf(t0->Font()).lfUnderline);
    EXPECT_FALSE(t0->FillsBackground());
    skin::PaintedTextControl* t1 = page.TextControl("T1");
    EXPECT_EQ(t1->Format(), static_cast<UINT>(DT_WORDBREAK | DT_RIGHT));
    EXPECT_EQ(t1->TextColor(), RGB(0, 128, 0));
    EXPECT_TRUE(t1->FillsBackground());
    EXPECT_EQ(t1->BackColor(), RGB(0, 255, 0));
    EXPECT_FALSE(t1->IsLink());
    EXPECT_FALSE(FontOf(t1->Font()).lfUnderline);
    skin::PaintedTextControl* t2 = page.TextControl("T2");
    EXPECT_EQ(t2->Format(), static_cast<UINT>(DT_WORDBREAK | DT_CENTER));  // the word works too
    EXPECT_FALSE(t2->IsLink());                                            // only "Yes"
    EXPECT_FALSE(t2->FillsBackground());
    EXPECT_EQ(page.TextControl("T3")->Format(), static_cast<UINT>(DT_WORDBREAK | DT_LEFT));  // unknown code
    EXPECT_TRUE(page.TextControl("T3")->FillsBackground());
    EXPECT_EQ(page.TextControl("T4")->Format(), static_cast<UINT>(DT_WORDBREAK | DT_RIGHT));
}

TEST_F(SkinPage, RectFillsAndButtonColours) {
    skin::SkinnedPage& page = Open(
        "colors.lcd",
        MainWindow() + "[INFO]\r\nTOTAL=5\r\n" + Line(0, "RECT", 1) + Line(1, "RECT", 2, 10, 40) +
            Line(2, "RADIO", 3, 10, 80) + Line(3, "CHECKBOX", 4, 10, 110) + Line(4, "GROUPBOX", 5, 10, 140) +
            "[DADOS]\r\n" + Entries(1, {{"Name", "r1"}, {"BackColor", "255,0,0"}}) +
            Entries(2, {{"Name", "r2"}, {"BackColor", ""}}) +
            Entries(3, {{"Name", "R"}, {"Text", "radio"}, {"BackColor", "0,0,255"}, {"Text Color", "255,255,0"}}) +
            Entries(4, {{"Name", "C"}, {"Text", "check"}, {"BackColor", ""}, {"Text Color", ""}}) +
            Entries(5, {{"Name", "G"}, {"Caption", "group"}, {"BackColor", "9,9,9"}}));
    skin::PaintedTextControl* r1 = page.TextControl("IDC_RECT2");  // line 0 was created second
    ASSERT_NE(r1, nullptr);
    EXPECT_TRUE(r1->FillsBackground());
    EXPECT_EQ(r1->BackColor(), RGB(255, 0, 0));
    EXPECT_FALSE(page.TextControl("IDC_RECT1")->FillsBackground());
    skin::ColoredButton* radio = page.ColoredButtonNamed("R");
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->BackColor(), RGB(0, 0, 255));
    EXPECT_EQ(radio->TextColor(), RGB(255, 255, 0));
    skin::ColoredButton* check = page.ColoredButtonNamed("C");
    EXPECT_EQ(check->BackColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(check->TextColor(), RGB(0, 0, 0));
    // The page reflects the buttons' colour messages to them.
    HDC dc = GetDC(page.ControlWindow("R"));
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(page.Window(), WM_CTLCOLORBTN,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(page.ControlWindow("R"))));
    EXPECT_NE(brush, nullptr);
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 255));
    LOGBRUSH lb = {};
    GetObjectA(brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, RGB(0, 0, 255));
    ReleaseDC(page.ControlWindow("R"), dc);
    EXPECT_EQ(page.ColoredButtonNamed("IDC_GROUPBOX1")->BackColor(), RGB(9, 9, 9));
    // The page's own background answers the dialog colour message.
    HBRUSH dialogBrush = reinterpret_cast<HBRUSH>(SendMessageA(page.Window(), WM_CTLCOLORDLG, 0, 0));
    EXPECT_EQ(dialogBrush, page.Background().Brush());
}

TEST_F(SkinPage, ReloadingReplacesTheControls) {
    skin::SkinnedPage& page = Open("one.lcd", MainWindow() + "[INFO]\r\nTOTAL=2\r\n" + Line(0, "BUTTON", 1) +
                                            Line(1, "TEXT", 2) + "[DADOS]\r\n" + Entries(1, {{"Name", "A"}}));
    HWND old = page.ControlWindow("A");
    WriteLayout("two.lcd", MainWindow() + "[INFO]\r\nTOTAL=1\r\n" + Line(0, "BUTTON", 1) + "[DADOS]\r\n" +
                               Entries(1, {{"Name", "B"}}));
    page.Load(dir.Path(), "two.lcd", 0, 2);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(page.RecordCount(), 1u);
    EXPECT_EQ(page.FindControl("B"), 3000);
    EXPECT_EQ(page.FindControl("A"), -1);
    EXPECT_EQ(page.LayoutPath(), dir.Path() + "two.lcd");
}

}  // namespace

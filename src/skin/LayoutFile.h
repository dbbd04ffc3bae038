// Reading one layout file: the window settings of MAINWINDOW, the control
// lines of INFO and the property entries of DADOS. Values are read key by key
// through an IniSource with the layout's buffer sizes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "skin/IniSource.h"
#include "skin/LayoutValues.h"

namespace skin::layout {

// The section of the controls' property entries.
constexpr char kPropertySection[] = "DADOS";

// The DADOS key of property entry `entry` of the control on line `lineIndex`:
// "300i,e" for lines 0 to 9, "30i,e" from 10 (control number 3000 + i).
std::string PropertyEntryKey(int lineIndex, int entry);

// Indexes of the window properties.
enum WindowProperty {
    kIdcName = 0,
    kCaption = 1,
    kBkColor = 2,
    kBorder = 3,
    kBkImage = 4,
    kSoundFile = 5,
    kStartup = 6,
    kMinWindow = 7,
    kMaxWindow = 8,
    kCloseWindow = 9,
    kWindowPropertyCount = 10
};

// A control's property entries keep at most this many; later ones are dropped.
constexpr size_t kMaxPropertyEntries = 15;

// Key of window property `index` in MAINWINDOW ("idcname", "caption", ...).
const char* WindowPropertyKey(int index);

struct WindowSettings {
    // Indexed by WindowProperty; bkimage and soundfile without braces.
    std::array<std::string, kWindowPropertyCount> properties;
    std::string width, height;
    std::string fontName, fontSize, fontBold, fontItalic;
};

struct ControlLine {
    int key = 0;                      // the INFO key the line was read from
    std::vector<std::string> fields;  // at most kMaxControlFields

    const std::string& Field(size_t i) const;
    int Left() const { return Number(Field(1)); }
    int Top() const { return Number(Field(2)); }
    int Width() const { return Number(Field(3)); }
    int Height() const { return Number(Field(4)); }
    const std::string& Kind() const { return Field(5); }
    int ControlNumber() const { return Number(Field(8)); }
};

class LayoutFile {
public:
    // `path` is the layout's full path; its folder prefixes file names in braces.
    LayoutFile(const IniSource& source, const std::string& path);

    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }

    WindowSettings ReadWindow() const;

    // INFO TOTAL (100-byte buffer); 0 when absent or not a number.
    int ControlCount() const;

    // The control line keys to read, from TOTAL-1 down to 0. Only keys that
    // are present in INFO are listed: an absent key reads as an empty line,
    // which creates no control, so skipping it changes nothing, and a huge
    // TOTAL costs no more than the lines the file really has.
    std::vector<int> LineKeysLastFirst() const;

    ControlLine ReadControlLine(int key) const;

    // The image file of a BITMAP or HOVER line (field 6): braces removed, the
    // layout folder in front.
    std::string ImageFile(const ControlLine& line) const;

    // The property entries of control number n: "n,t" gives the count, "n,0",
    // "n,1", ... the entries; at most kMaxPropertyEntries are read.
    std::vector<PropertyEntry> ReadEntries(int controlNumber) const;

    // The value of the first property entry of the control at line index i,
    // read from the DADOS key "300i,0" (i up to 9) or "30i,0" (i from 10):
    // the text between the first and the second "|".
    std::string FirstPropertyValue(int index) const;

private:
    std::string Read(const char* section, const std::string& key) const;

    const IniSource& source_;
    std::string path_;
    std::string folder_;
};

}  // namespace skin::layout

// The value syntaxes of layout files: numbers, control lines, property
// entries with their file names in braces, click codes and text alignment.
// Pure text rules, shared by the page window and the native tests.
#pragma once

#include <string>
#include <vector>

namespace skin::layout {

// Buffer sizes of layout reads: values keep at most size-1 characters.
constexpr size_t kValueBufferSize = 255;
constexpr size_t kCountBufferSize = 100;

// A control line holds at most this many fields; further fields are dropped.
constexpr size_t kMaxControlFields = 20;

// Optional white space and sign, then leading decimal digits; anything else
// reads as 0; values beyond the 32-bit range saturate.
int Number(const std::string& text);

// Splits a control line at every comma (empty fields kept, spaces kept) into
// at most kMaxControlFields fields; the rest of a longer line is ignored.
std::vector<std::string> SplitFields(const std::string& line);

// The text with every "{" and "}" removed.
std::string RemoveBraces(const std::string& text);

// The folder of a file path: everything up to and including its last "\" or
// "/" (empty when the path names no folder).
std::string FolderOf(const std::string& path);

// A file named in a layout value: braces removed, the layout's folder in front.
std::string FileInFolder(const std::string& value, const std::string& layoutFolder);

struct PropertyEntry {
    std::string name;
    std::string value;
    int type = 0;
};

// Splits "name|value|type": the name before the first "|", the value between
// the first and second "|" (to the end when there is one "|" only), the type
// after the second "|" with every further "|" removed, read as a number. A
// value holding "{" names a file: braces removed, the layout folder in front.
PropertyEntry SplitPropertyEntry(const std::string& raw, const std::string& layoutFolder);

// The click code of a control's entries: the last entry named "On Click" or
// "Mouse Click" counts, read as the number before its first "-" (0 without a
// "-"); an empty value of such an entry stops the search with code 0.
int ClickCode(const std::vector<PropertyEntry>& entries);

// Click codes that move the wizard.
constexpr int kClickNextPage = 1;
constexpr int kClickPreviousPage = 2;

// The alignment word of a "Text Align" value: its first character "0" gives
// "Center", "1" "Left", "2" "Right"; any other value gives "".
std::string AlignmentWord(const std::string& textAlign);

// Exactly "Yes".
bool IsYes(const std::string& value);
// Anything but exactly "No" (so an empty or absent value is on).
bool IsNotNo(const std::string& value);

}  // namespace skin::layout

// Which text of a language file belongs to which named control of the
// standard layouts, and the property entries that put those texts on a
// layout. The layout files themselves are never rewritten: a page takes the
// entries as overrides when it loads (SkinnedPage::SetLocalisedEntries), so
// a read-only theme folder is localised as well and a later start shows the
// authored texts until a language is chosen again.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "skin/IniSource.h"
#include "skin/LayoutFile.h"

namespace skin::layout {

// A language file's text: its section and key.
struct LanguageKey {
    const char* section;
    const char* key;
};

// Controls are addressed by line index with keys of two or three digits
// ("3009", "3010"); lines from this index on are outside what is localised.
constexpr int kMaxLocalisedLines = 100;

// Whether the table has rows for `layoutFile` (exact, case-sensitive name).
bool IsLocalisedLayout(const std::string& layoutFile);

// The language text of control `controlName` (exact) of `layoutFile`; none
// when the table has no row for them.
std::optional<LanguageKey> LanguageKeyOf(const std::string& layoutFile,
                                         const std::string& controlName);

// A language text as pages show it: "[" and "]" become "<" and ">" (language
// files write placeholders in square brackets), and a text holding "}" keeps
// only what follows the first "}".
std::string LanguageTextForm(const std::string& text);

// The caption entry "Caption|text|0" for the control, or "" when the table
// has no row or the language file lacks the key: a partly translated file
// leaves the authored text in place rather than blanking the control.
std::string LocalisedCaption(const std::string& layoutFile, const std::string& controlName,
                             const IniSource& language);

// The DADOS values the language file puts on `layout` (whose file name is
// `layoutFile`): entry 1 of each named control the table lists, keyed as in
// the file. Empty for a layout the table does not name.
std::map<std::string, std::string> LocalisedEntries(const LayoutFile& layout,
                                                    const std::string& layoutFile,
                                                    const IniSource& language);

}  // namespace skin::layout

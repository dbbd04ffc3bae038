// What every section and key of the project settings file (setup.inf) means
// to an author: kind of value, meaning, default and an example. Built from the
// key names of SettingsKeys.h, so the project checker and the authors'
// reference generated from this table name exactly what the setup reads.
#pragma once

#include <string>
#include <vector>

namespace core::settingsref {

// What a value must look like; the project checker tests each kind.
enum class Kind {
    Text,          // any text
    Placeholders,  // text in which <Name> placeholders are expanded
    Number,        // decimal digits
    YesNo,         // "Yes" (compared exactly) or anything else
    Choice,        // one of `choices`; anything else has the meaning the key's text gives
    WorkingFile,   // a file of the project's working/ folder, by its name
    Page,          // a layout file of the project's theme/ folder
    ProjectFile,   // a file of the project folder, by its path there (cvpack reads it)
};

struct Key {
    std::string name;     // the key; a list field's prefix (the item index follows)
    Kind kind;
    const char* meaning;
    const char* fallback;  // what an absent or empty value means
    const char* example;   // a value
    std::vector<std::string> choices;  // Kind::Choice only
    bool indexed = false;  // in a section that is no list, a field numbered all the same ("W0", "os3")
};

struct Section {
    const char* name;
    const char* meaning;
    bool list;              // keys are field prefixes followed by the item index
    const char* countKey;   // the item count of a list ("TOTAL", "TOTAL1")
    std::vector<Key> keys;  // a list's fields; for the SYSTEM section "os" is a field too
};

// Every section the setup reads, in the order an author usually writes them.
const std::vector<Section>& Sections();

// The section named `name` (compared without case, as the setup reads), or null.
const Section* FindSection(const std::string& name);

// The authors' reference of every section and key, as Markdown.
std::string ReferenceMarkdown();

}  // namespace core::settingsref

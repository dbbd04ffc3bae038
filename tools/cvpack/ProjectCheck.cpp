#include "ProjectCheck.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

#include "Diagnostics.h"
#include "FolderEntries.h"
#include "IconFile.h"
#include "PayloadPath.h"
#include "ProjectDataList.h"
#include "SettingsText.h"
#include "core/CodePage.h"
#include "core/InstallScopeRules.h"
#include "core/Placeholders.h"
#include "core/SettingsKeys.h"
#include "core/SettingsReference.h"
#include "install/addons/MergeModuleRules.h"
#include "install/files/FileRules.h"
#include "util/Text.h"

namespace fs = std::filesystem;
namespace ref = core::settingsref;

namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// Edit distance without case, for "did you mean".
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t up = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// " (did you mean X?)" for the nearest of `known` within two edits, else "".
std::string Suggestion(const std::string& word, const std::vector<std::string>& known) {
    std::string best;
    size_t bestDistance = 3;
    for (const std::string& candidate : known) {
        // Only names of about the same length can be two edits away.
        if (candidate.size() + 2 < word.size() || word.size() + 2 < candidate.size()) continue;
        const size_t d = Distance(word, candidate);
        if (d < bestDistance) bestDistance = d, best = candidate;
    }
    return best.empty() ? std::string() : " (did you mean " + best + "?)";
}

// The names of the files directly in a folder, in lower case.
std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code walk;
    for (fs::directory_iterator it(folder, walk), end; !walk && it != end; it.increment(walk)) {
        std::error_code entry;  // a link to nothing is passed over, and the walk goes on
        if (it->is_regular_file(entry)) names.insert(util::text::AsciiLower(it->path().filename().string()));
    }
    return names;
}


// A destination is written from the machine's root, which the setup drops.
const char kDestinationComputer[] = "Destination Computer\\";

// A web item's condition: the text after its first "{", without the closing "}".
std::string WebCondition(const std::string& sourceLine) {
    const size_t brace = sourceLine.find('{');
    if (brace == std::string::npos) return std::string();
    std::string condition = sourceLine.substr(brace + 1);
    if (!condition.empty() && condition.back() == '}') condition.pop_back();
    return condition;
}

class Checker {
public:
    Checker(const fs::path& dir, unsigned codePage, SourceEncoding encoding)
        : dir_(dir),
          codePage_(codePage),
          encoding_(encoding),
          diagnostics_([this](const std::string& file, int line, bool error, const std::string& text) {
              Add(error, file, line, text);
          }),
          converter_(codePage, diagnostics_) {}

    std::vector<Finding> Run() {
        SourceText text;
        if (!Read("setup.inf", text)) {
            Error("setup.inf", 0, "missing: a project needs its settings file");
        } else {
            // Read as the setup reads it: in the code page it ships in. The
            // files it names are looked for on disk as written (UTF-8 ones
            // by their UTF-8 names); the lines are the same in both.
            settings_ = ParseSettingsText(text.shipped);
            settingsInUtf8_ = text.utf8;
            for (const SettingsSection& section : ParseSettingsText(text.written).sections)
                for (const SettingsEntry& entry : section.entries) writtenValues_[entry.line] = entry.value;
            theme_ = FilesIn(dir_ / "theme");
            working_ = FilesIn(dir_ / "working");
            CollectNames();
            CheckSettings();
            CheckRequired();
            CheckScope();
            CheckPages();
            CheckLanguages();
        }
        CheckDataList();
        return std::move(findings_);
    }

private:
    // A value of setup.inf as the author wrote it: how its files are named on disk.
    std::string Written(const SettingsEntry& entry) const {
        const auto found = writtenValues_.find(entry.line);
        return found == writtenValues_.end() ? entry.value : found->second;
    }

    unsigned DiskCodePage() const { return settingsInUtf8_ ? 65001u : codePage_; }

    // The text after the last backslash or slash, found by characters: "only
    // its name is used".
    std::string NameOnly(const std::string& path) const {
        const size_t slash = core::codepage::FindLastOf(path, "\\/", DiskCodePage());
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    bool IsProjectFile(const std::string& written) const {
        std::error_code ec;
        return !written.empty() &&
               fs::is_regular_file(PayloadPath(dir_, written, settingsInUtf8_, codePage_), ec);
    }

    bool Read(const char* name, SourceText& text) {
        std::error_code ec;
        if (!fs::is_regular_file(dir_ / name, ec)) return false;
        try {
            text = converter_.Read(dir_ / name, name, encoding_);
        } catch (const std::exception& e) {
            Error(name, 0, e.what());
            text = SourceText();
        }
        return true;
    }

    void Add(bool error, const std::string& file, int line, const std::string& text) {
        findings_.push_back({file, line, error, text});
    }
    void Error(const std::string& file, int line, const std::string& text) { Add(true, file, line, text); }
    void Warning(const std::string& file, int line, const std::string& text) { Add(false, file, line, text); }

    // The project's own names: variables (placeholders too), conditions, features.
    void CollectNames() {
        namespace k = core::keys;
        for (const std::string& name : core::PlaceholderNames()) placeholders_.push_back(name);
        placeholders_.push_back("<ResourceDir>");
        // A variable's name is replaced wherever it stands, so it is written with its brackets.
        for (const std::string& name : ListValues(k::variables::kSection, k::variables::kName))
            placeholders_.push_back(name);
        conditions_ = ListValues(k::conditions::kSection, k::conditions::kName);
        for (const std::string& name : ListValues(k::setuptype::kSection, k::setuptype::kFeatureName))
            features_.push_back(name);
        for (const std::string& name : ListValues(k::setupfeatures::kSection, k::setupfeatures::kDisplayName))
            features_.push_back(name);
    }

    // Field `prefix` of every item of a list, up to its TOTAL.
    std::vector<std::string> ListValues(const char* section, const char* prefix) const {
        std::vector<std::string> values;
        const int total = std::min(ItemCount(section), 1000);
        for (int i = 0; i < total; ++i) {
            const std::string value = settings_.Value(section, prefix + std::to_string(i));
            if (!value.empty()) values.push_back(value);
        }
        return values;
    }

    int ItemCount(const char* section) const {
        const std::string total = settings_.Value(section, core::keys::kTotal);
        return AllDigits(total) && total.size() < 6 ? std::stoi(total) : 0;
    }

    void CheckSettings() {
        std::vector<std::string> sectionNames;
        for (const ref::Section& s : ref::Sections()) sectionNames.push_back(s.name);
        std::set<std::string> seen;
        for (const SettingsSection& section : settings_.sections) {
            if (!seen.insert(util::text::AsciiLower(section.name)).second) {
                Warning("setup.inf", section.line,
                        "section [" + section.name + "] is given again; the setup reads only the first");
                continue;
            }
            const ref::Section* known = ref::FindSection(section.name);
            if (!known) {
                Warning("setup.inf", section.line,
                        "unknown section [" + section.name + "]" + Suggestion(section.name, sectionNames));
                continue;
            }
            CheckSection(*known, section);
        }
        for (int line : settings_.strayLines)
            Warning("setup.inf", line, "neither a [section] nor key=value: the setup ignores this line");
    }

    // The table's key for a key as written: an exact key, or a list field
    // (or numbered field) followed by its item number. Null when unknown.
    const ref::Key* KeyFor(const ref::Section& section, const std::string& key, int& item) const {
        item = -1;
        for (const ref::Key& k : section.keys)
            if (!section.list && !k.indexed && util::text::EqualsIgnoringAsciiCase(k.name, key)) return &k;
        for (const ref::Key& k : section.keys) {
            if (!section.list && !k.indexed) continue;
            if (key.size() > k.name.size() && util::text::EqualsIgnoringAsciiCase(key.substr(0, k.name.size()), k.name) &&
                AllDigits(key.substr(k.name.size())) && key.size() - k.name.size() < 6) {
                item = std::stoi(key.substr(k.name.size()));
                return &k;
            }
        }
        return nullptr;
    }

    bool IsCountOrAction(const ref::Section& section, const std::string& key) const {
        if (section.list && util::text::EqualsIgnoringAsciiCase(key, section.countKey)) return true;
        if (util::text::EqualsIgnoringAsciiCase(section.name, core::keys::dialoglist::kSection) &&
            util::text::EqualsIgnoringAsciiCase(key, core::keys::dialoglist::kPageTotal))
            return true;
        // Condition actions are keys of the item's and the action's numbers.
        return util::text::EqualsIgnoringAsciiCase(section.name, core::keys::conditions::kSection) && AllDigits(key);
    }

    void CheckSection(const ref::Section& section, const SettingsSection& written) {
        std::vector<std::string> keyNames;
        for (const ref::Key& k : section.keys)
            keyNames.push_back(section.list || k.indexed ? k.name + "0" : k.name);
        std::map<std::string, int> firstLine;
        std::set<int> items;
        for (const SettingsEntry& entry : written.entries) {
            auto placed = firstLine.emplace(util::text::AsciiLower(entry.key), entry.line);
            if (!placed.second) {
                Warning("setup.inf", entry.line,
                        entry.key + " is given again (first at line " + std::to_string(placed.first->second) +
                            "); the setup reads only the first");
                continue;
            }
            if (IsCountOrAction(section, entry.key)) {
                if (!entry.value.empty() && !AllDigits(entry.value) && !util::text::EqualsIgnoringAsciiCase(section.name, "CONDITIONS"))
                    Error("setup.inf", entry.line, entry.key + "=" + entry.value + " is not a number");
                continue;
            }
            int item = -1;
            const ref::Key* key = KeyFor(section, entry.key, item);
            if (!key) {
                Warning("setup.inf", entry.line,
                        "unknown key " + entry.key + " in [" + section.name + "]" +
                            Suggestion(entry.key, keyNames));
                continue;
            }
            if (section.list && item >= 0) items.insert(item);
            CheckValue(section, *key, entry);
        }
        if (section.list) CheckCount(section, written, items);
    }

    void CheckValue(const ref::Section& section, const ref::Key& key, const SettingsEntry& entry) {
        const std::string& value = entry.value;
        const std::string where = entry.key + "=" + value;
        switch (key.kind) {
            case ref::Kind::Number:
                // An icon index or a screen position may be negative.
                if (!value.empty() && !AllDigits(value[0] == '-' ? value.substr(1) : value))
                    Error("setup.inf", entry.line, where + " is not a number");
                break;
            case ref::Kind::YesNo:
                if (value != "Yes" && util::text::EqualsIgnoringAsciiCase(value, "Yes"))
                    Warning("setup.inf", entry.line,
                            where + ": the setup compares exactly, so this is not \"Yes\"");
                break;
            case ref::Kind::Choice:
                if (!value.empty() &&
                    std::find(key.choices.begin(), key.choices.end(), value) == key.choices.end()) {
                    std::string list;
                    for (const std::string& c : key.choices) list += (list.empty() ? "\"" : ", \"") + c + "\"";
                    Warning("setup.inf", entry.line,
                            where + " is none of " + list + "; it means: " + key.fallback);
                }
                break;
            case ref::Kind::WorkingFile:
                if (!value.empty() && !working_.count(util::text::AsciiLower(NameOnly(Written(entry)))))
                    Error("setup.inf", entry.line,
                          "file \"" + NameOnly(value) + "\" named by " + entry.key + " is not in working/");
                break;
            case ref::Kind::Placeholders:
                CheckPlaceholders("setup.inf", entry.line, value);
                CheckNamedFile(section, entry);
                break;
            case ref::Kind::ProjectFile:
                if (!value.empty()) CheckIconFile(entry);
                break;
            default:
                break;
        }
    }

    // Keys that name a file carried by the setup or a path on the machine:
    // a bare name must be one of the working files, and an add-on program in
    // the setup's support files must be in the project's SupportFiles/.
    void CheckNamedFile(const ref::Section& section, const SettingsEntry& entry) {
        namespace app = core::keys::appinfo;
        if (util::text::EqualsIgnoringAsciiCase(section.name, core::keys::mergemodules::kSection)) {
            CheckSupportFile(entry);
            return;
        }
        if (!util::text::EqualsIgnoringAsciiCase(section.name, app::kSection)) return;
        if (!util::text::EqualsIgnoringAsciiCase(entry.key, app::kDisplayIcon) && !util::text::EqualsIgnoringAsciiCase(entry.key, app::kUninstallExecute)) return;
        const std::string& value = entry.value;
        if (value.empty() || value.find_first_of("<\\/:") != std::string::npos) return;
        if (!working_.count(util::text::AsciiLower(Written(entry))))
            Error("setup.inf", entry.line, "file \"" + value + "\" named by " + entry.key + " is not in working/");
    }

    // The only project file a key names is the icon cvpack writes into
    // setup.exe: the build would stop at one it cannot use.
    void CheckIconFile(const SettingsEntry& entry) {
        const std::string where = "icon \"" + entry.value + "\" named by " + entry.key;
        if (!IsProjectFile(Written(entry))) {
            Error("setup.inf", entry.line, where + " is not in the project");
            return;
        }
        try {
            ico::ReadIconFile(PayloadPath(dir_, Written(entry), settingsInUtf8_, codePage_).string());
        } catch (const std::exception& e) {
            Error("setup.inf", entry.line, where + ": " + e.what());
        }
    }

    void CheckSupportFile(const SettingsEntry& entry) {
        namespace mm = install::mergemodules;
        const std::string& program = entry.value;
        const std::string programField = util::text::AsciiLower(core::keys::mergemodules::kProgram);
        if (util::text::AsciiLower(entry.key).rfind(programField, 0) != 0 || program.rfind(mm::kResourceDir, 0) != 0)
            return;
        // The setup puts its own folder in place of the placeholder; here the project's.
        if (!IsProjectFile(mm::AddOnProgramPath(Written(entry), "")))
            Error("setup.inf", entry.line, "add-on program \"" + program + "\" named by " + entry.key +
                                               " is not in " + std::string(mm::kSupportFolder) + "/");
    }

    void CheckPlaceholders(const std::string& file, int line, const std::string& value) {
        for (size_t open = value.find('<'); open != std::string::npos; open = value.find('<', open + 1)) {
            const size_t close = value.find('>', open);
            if (close == std::string::npos) return;
            const std::string name = value.substr(open, close - open + 1);
            const std::string inner = name.substr(1, name.size() - 2);
            if (inner.empty() || inner.find_first_not_of(
                                     "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 _") !=
                                     std::string::npos)
                continue;
            if (std::find(placeholders_.begin(), placeholders_.end(), name) != placeholders_.end()) continue;
            // Where it begins a value or a path part it names a folder and the
            // setup would fail on it; elsewhere it may be text of the author's
            // own ("<none>" as registry data).
            const bool namesFolder = open == 0 || (close + 1 < value.size() && value[close + 1] == '\\');
            Add(namesFolder, file, line, "unknown placeholder " + name + Suggestion(name, placeholders_));
        }
    }

    void CheckCount(const ref::Section& section, const SettingsSection& written, const std::set<int>& items) {
        const SettingsEntry* total = nullptr;
        for (const SettingsEntry& e : written.entries)
            if (util::text::EqualsIgnoringAsciiCase(e.key, section.countKey)) {
                total = &e;
                break;
            }
        if (!total) {
            if (!items.empty())
                Error("setup.inf", written.line,
                      "[" + written.name + "] has items but no " + section.countKey + ": the setup reads none");
            return;
        }
        if (!AllDigits(total->value) || total->value.size() > 5) return;  // reported as not a number
        const int count = std::stoi(total->value);
        for (int i = 0; i < count; ++i)
            if (!items.count(i)) {
                Error("setup.inf", total->line,
                      section.countKey + std::string("=") + total->value + " but item " + std::to_string(i) +
                          " has no fields");
                break;
            }
        if (!items.empty() && *items.rbegin() >= count)
            Warning("setup.inf", total->line,
                    section.countKey + std::string("=") + total->value + " but there are items up to " +
                        std::to_string(*items.rbegin()) + ": the setup ignores those from " +
                        std::to_string(count) + " on");
    }

    int SectionLine(const char* name) const {
        const SettingsSection* s = settings_.Find(name);
        return s ? s->line : 0;
    }

    void CheckRequired() {
        namespace k = core::keys;
        if (settings_.sections.empty())
            Error("setup.inf", 0, "no sections: this is not a settings file");
        if (settings_.Value(k::appinfo::kSection, k::appinfo::kProductCode).empty())
            Error("setup.inf", SectionLine(k::appinfo::kSection),
                  "no product code ([APPINFO] a3): the product could not be removed");
        if (settings_.Value(k::appinfo::kSection, k::appinfo::kProductName).empty())
            Warning("setup.inf", SectionLine(k::appinfo::kSection), "no product name ([APPINFO] a1)");
        bool anySystem = false;
        for (int i = 0; i < 7; ++i)
            anySystem |= settings_.Value(k::system::kSection, k::system::kOsAllowed + std::to_string(i)) == "Yes";
        if (!anySystem)
            Error("setup.inf", SectionLine(k::system::kSection),
                  "no system is allowed ([SYSTEM] os0 to os6 = Yes): every machine would be refused");
        CheckSplashFile(k::splash::kShowPicture, k::splash::kPicture, "picture");
        CheckSplashFile(k::splash::kPlaySound, k::splash::kSound, "sound");
    }

    // A per-user package asks for no elevation: its folder must be the user's.
    void CheckScope() {
        namespace app = core::keys::appinfo;
        if (settings_.Value(app::kSection, app::kInstallScope) != core::scope::kPerUserSetting) return;
        const SettingsEntry* folder = settings_.Entry(app::kSection, app::kInstallFolder);
        const std::string machine = folder ? core::scope::MachineFolderOf(folder->value) : std::string();
        if (!machine.empty())
            Warning("setup.inf", folder->line,
                    "a8=Per-User installs without administrator rights, which cannot write into " + machine +
                        ": use <UserProgramsFolder>");
    }

    void CheckSplashFile(const char* flag, const char* key, const char* what) {
        namespace k = core::keys::splash;
        if (settings_.Value(k::kSection, flag) != "Yes") return;
        const SettingsEntry* entry = settings_.Entry(k::kSection, key);
        if (!entry || !IsProjectFile(Written(*entry)))
            Error("setup.inf", entry ? entry->line : SectionLine(k::kSection),
                  std::string("splash ") + what + " \"" + (entry ? entry->value : "") + "\" is not in the project");
    }

    void CheckPages() {
        namespace k = core::keys::dialoglist;
        std::vector<std::string> layouts;
        for (const std::string& name : theme_)
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".lcd") == 0) layouts.push_back(name);
        if (layouts.empty()) {
            Error("theme/", 0, "no layout files (.lcd): the setup would show no window");
            return;
        }
        const SettingsEntry* total = settings_.Entry(k::kSection, k::kPageTotal);
        if (!total || !AllDigits(total->value) || total->value == "0") {
            Error("setup.inf", total ? total->line : SectionLine(k::kSection),
                  "no pages ([DIALOGLIST] TOTAL1 and W0, W1, ...)");
            return;
        }
        // The setup keeps the first 20 pages.
        constexpr int kPagesRead = 20;
        const long long written = total->value.size() < 9 ? std::stoll(total->value) : kPagesRead + 1;
        if (written > kPagesRead)
            Warning("setup.inf", total->line, "TOTAL1=" + total->value + ": the setup shows at most 20 pages");
        const int count = static_cast<int>(std::min<long long>(written, kPagesRead));
        for (int i = 0; i < count; ++i) {
            const std::string key = k::kPage + std::to_string(i);
            const SettingsEntry* page = settings_.Entry(k::kSection, key);
            if (!page || page->value.empty()) {
                Error("setup.inf", total->line, "TOTAL1=" + total->value + " but " + key + " names no page");
                continue;
            }
            if (!theme_.count(util::text::AsciiLower(Written(*page))))
                Error("setup.inf", page->line,
                      "page \"" + page->value + "\" named by " + key + " is not in theme/" +
                          Suggestion(util::text::AsciiLower(page->value), layouts));
        }
    }

    void CheckLanguages() {
        namespace k = core::keys::appinfo;
        const std::string method = settings_.Value(k::kSection, k::kMethod);
        if (method != "Ask User" && method != "Auto-Detect") return;
        const std::set<std::string> files = FilesIn(dir_ / "languages");
        const SettingsEntry* language = settings_.Entry(k::kSection, k::kLanguage);
        if (files.empty())
            Warning("setup.inf", SectionLine(k::kSection),
                    "METHOD=" + method + " but languages/ holds no language files");
        else if (language && !language->value.empty() && !files.count(util::text::AsciiLower(language->value + ".lan")))
            Warning("setup.inf", language->line, "language \"" + language->value + "\" has no languages/" +
                                                     language->value + ".lan");
    }

    void CheckDataList() {
        SourceText list;
        if (!Read("data.inf", list)) {
            Error("data.inf", 0, "missing: a project needs its file list");
            return;
        }
        dataInUtf8_ = list.utf8;
        std::vector<ProjectDataRecord> records;
        try {
            records = ReadProjectRecords(list, dir_, converter_, diagnostics_);
        } catch (const ProjectDataError& e) {
            std::string message = e.what();
            const size_t colon = message.find(": ");
            Error("data.inf", e.Line(), colon == std::string::npos ? message : message.substr(colon + 2));
            return;
        } catch (const std::exception& e) {
            Error("data.inf", 0, e.what());
            return;
        }
        for (const ProjectDataRecord& record : records) CheckRecord(record);
    }

    void CheckRecord(const ProjectDataRecord& record) {
        namespace fr = install::filerules;
        const int dataLine = record.lineNumber + 1;
        const int32_t knownFlags = fr::kFlagReadOnly | fr::kFlagReadOnlyToo | fr::kFlagHidden | fr::kFlagSystem |
                                   fr::kFlagCritical | fr::kFlagOnlyIfAbsent | fr::kFlagPermanent |
                                   fr::kFlagSelfRegister | fr::kFlagExpandContent;
        const core::filelist::FileRecord& r = record.fields;
        if (r.flags & ~knownFlags)
            Warning("data.inf", dataLine, "FLAGS " + std::to_string(r.flags) + " has bits the setup does not know");
        if (r.systemMask < 0 || r.systemMask > 255)
            Warning("data.inf", dataLine, "OSMASK " + std::to_string(r.systemMask) + " is beyond 255");
        if (placeholders_.empty()) placeholders_ = core::PlaceholderNames();
        CheckPlaceholders("data.inf", dataLine, r.destDir);
        std::string folder = r.destDir;
        if (folder.rfind(kDestinationComputer, 0) == 0) folder.erase(0, sizeof kDestinationComputer - 1);
        if (folder.empty() || (folder[0] != '<' && (folder.size() < 2 || folder[1] != ':')))
            Warning("data.inf", dataLine, "destination \"" + r.destDir + "\" is not a full folder path");
        if (!r.feature.empty() && !features_.empty() &&
            std::find(features_.begin(), features_.end(), r.feature) == features_.end())
            Warning("data.inf", dataLine, "feature \"" + r.feature + "\" is none of the project's features");
        if (record.IsWebItem()) {
            const std::string condition = WebCondition(record.sourceLine);
            if (!condition.empty() &&
                std::find(conditions_.begin(), conditions_.end(), condition) == conditions_.end())
                Warning("data.inf", record.lineNumber,
                        "condition \"" + condition + "\" is none of the project's conditions");
            return;
        }
        // A UTF-8 list names its files on disk as written.
        const std::string& written = record.diskLine.empty() ? record.sourceLine : record.diskLine;
        std::error_code ec;
        if (!fs::is_regular_file(PayloadPath(dir_, written, dataInUtf8_, codePage_), ec))
            Error("data.inf", record.lineNumber, "payload file not found: " + record.sourceLine);
    }

    fs::path dir_;
    unsigned codePage_;
    SourceEncoding encoding_;
    Diagnostics diagnostics_;
    SourceConverter converter_;
    bool dataInUtf8_ = false;
    bool settingsInUtf8_ = false;
    std::map<int, std::string> writtenValues_;  // setup.inf's values as written, by line
    SettingsText settings_;
    std::set<std::string> theme_, working_;
    std::vector<std::string> placeholders_, conditions_, features_;
    std::vector<Finding> findings_;
};

}  // namespace

std::string FormatFinding(const Finding& f) {
    return f.file + (f.line > 0 ? ":" + std::to_string(f.line) : std::string()) + ": " +
           (f.error ? "error: " : "warning: ") + f.text;
}

std::vector<Finding> CheckProject(const std::string& projectDir, unsigned codePage, SourceEncoding encoding) {
    return Checker(fs::path(projectDir), codePage, encoding).Run();
}

bool HasErrors(const std::vector<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.error; });
}

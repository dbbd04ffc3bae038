#include "PackageListing.h"

#include <filesystem>
#include <map>
#include <stdexcept>

#include "CabinetDirectory.h"
#include "ContainerTool.h"
#include "control/RequirementRules.h"
#include "core/FileList.h"
#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "install/files/FileRules.h"
#include "pages/PageSequence.h"
#include "skin/MemoryIniSource.h"
#include "util/Text.h"

namespace fs = std::filesystem;
namespace rules = install::filerules;

namespace {

// The settings the listing shows, read as the setup reads them.
void ReadSettings(const std::string& text, PackageListing& listing) {
    namespace app = core::keys::appinfo;
    namespace dialogs = core::keys::dialoglist;
    namespace sys = core::keys::system;
    using core::settings::kShortValueSize;
    using core::settings::kValueSize;
    const skin::MemoryIniSource ini(text);
    listing.productName = ini.Read(app::kSection, app::kProductName, kValueSize);
    listing.productVersion = ini.Read(app::kSection, app::kProductVersion, kValueSize);
    listing.productCode = ini.Read(app::kSection, app::kProductCode, kValueSize);
    const int pages =
        core::settings::ParseNumber(ini.Read(dialogs::kSection, dialogs::kPageTotal, kValueSize).c_str());
    for (int i = 0; i < pages && i < pages::wizard::kMaxPages; ++i)
        listing.pages.push_back(
            ini.Read(dialogs::kSection, core::settings::ListKey(dialogs::kPage, i), kValueSize));
    for (int i = 0; i < 7; ++i)
        if (core::settings::IsYes(
                ini.Read(sys::kSection, core::settings::ListKey(sys::kOsAllowed, i), kShortValueSize).c_str()))
            listing.systems.push_back(control::requirements::AllowedSystemName(i));
}

std::map<std::string, uint64_t> StoredSizes(const fs::path& cabinet) {
    std::map<std::string, uint64_t> sizes;
    for (const CabinetFileEntry& entry : ReadCabinetDirectory(cabinet.string()).files)
        sizes.emplace(entry.name, entry.size);
    return sizes;
}

// Every record as the file phase places it: the destination before
// placeholder expansion, a web item named by its address.
void ReadFiles(const std::string& text, unsigned codePage, const fs::path& cabinet,
               PackageListing& listing) {
    const std::vector<core::filelist::FileRecord> records = core::filelist::ParseFileList(text, codePage);
    // Read even when every record is a web item: the setup extracts the
    // cabinet in any case, and a damaged one is worth knowing about.
    const std::map<std::string, uint64_t> sizes = StoredSizes(cabinet);
    for (size_t k = 0; k < records.size(); ++k) {
        const core::filelist::FileRecord& r = records[k];
        ListedFile file;
        file.flags = r.flags;
        file.systemMask = r.systemMask;
        file.feature = r.feature;
        if (core::filelist::IsWebItem(r.sourceLine)) {
            const rules::WebItem item = rules::ParseWebItem(r.sourceLine);
            file.destination = rules::DestinationPath(r.destDir, item.fileName);
            file.address = item.address;
        } else {
            file.destination = rules::DestinationPath(r.destDir, r.fileName);
            const std::string stored = core::filelist::StoredName(k, r.fileName);
            const auto found = sizes.find(stored);
            if (found == sizes.end())
                throw std::runtime_error(cabinet.string() + ": holds no " + stored + " (data.nsx record " +
                                         std::to_string(k + 1) + ")");
            file.size = found->second;
        }
        listing.files.push_back(file);
    }
}

void AppendJoined(std::string& out, const std::vector<std::string>& items) {
    if (items.empty()) out += "(none)";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
    out += "\n";
}

}  // namespace

PackageListing ReadPackage(const std::string& packageDir, unsigned codePage) {
    const fs::path dir(packageDir);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) throw std::runtime_error(packageDir + ": not a folder");
    PackageListing listing;
    ReadSettings(DecryptProjectText((dir / "setup.nsx").string()), listing);
    ReadFiles(DecryptProjectText((dir / "data.nsx").string()), codePage, dir / "file1.cab", listing);
    return listing;
}

std::string FlagNames(int32_t flags) {
    static const struct {
        int32_t bit;
        const char* name;
    } kNames[] = {{rules::kFlagReadOnly, "read-only"},         {rules::kFlagReadOnlyToo, "read-only"},
                  {rules::kFlagHidden, "hidden"},              {rules::kFlagSystem, "system"},
                  {rules::kFlagCritical, "critical"},          {rules::kFlagOnlyIfAbsent, "only-if-absent"},
                  {rules::kFlagPermanent, "permanent"},        {rules::kFlagSelfRegister, "self-register"},
                  {rules::kFlagExpandContent, "expand-content"}};
    std::vector<std::string> names;
    int32_t known = 0;
    for (const auto& n : kNames) {
        known |= n.bit;
        if (rules::HasFlag(flags, n.bit) && (names.empty() || names.back() != n.name)) names.push_back(n.name);
    }
    if (flags & ~known) names.push_back("unknown bits " + std::to_string(flags & ~known));
    if (names.empty()) return "none";
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
    return text;
}

std::string SystemMaskNames(int32_t mask) {
    if (mask == 0 || mask == 255 || rules::HasFlag(mask, rules::kSystemAll)) return "all";
    static const struct {
        int32_t bit;
        const char* name;
    } kNames[] = {{rules::kSystem98, "98"},   {rules::kSystem98SE, "98SE"}, {rules::kSystemME, "ME"},
                  {rules::kSystemNT4, "NT4"}, {rules::kSystem2000, "2000"}, {rules::kSystemXP, "XP"},
                  {rules::kSystemNET, "NET"}};
    std::string text;
    for (const auto& n : kNames)
        if (rules::HasFlag(mask, n.bit)) text += (text.empty() ? "" : ", ") + std::string(n.name);
    return text.empty() ? "none" : text;
}

namespace {

std::string ListingText(const PackageListing& listing) {
    std::string out = "Product name:    " + listing.productName + "\n" +
                      "Product version: " + listing.productVersion + "\n" +
                      "Product code:    " + listing.productCode + "\n" + "Pages:           ";
    AppendJoined(out, listing.pages);
    out += "Systems:         ";
    AppendJoined(out, listing.systems);
    out += "Files:           " + std::to_string(listing.files.size()) + "\n";
    for (const ListedFile& f : listing.files) {
        out += "  " + f.destination + "\n    ";
        out += f.address.empty() ? "size: " + std::to_string(f.size) + " bytes" : "web item: " + f.address;
        out += "; flags: " + std::to_string(f.flags) + " (" + FlagNames(f.flags) + ")";
        out += "; systems: " + std::to_string(f.systemMask) + " (" + SystemMaskNames(f.systemMask) + ")";
        out += "; feature: " + (f.feature.empty() ? std::string("(none)") : f.feature) + "\n";
    }
    return out;
}

}  // namespace

std::string FormatPackageListing(const PackageListing& listing) {
    // Texts come from a package that may be anyone's: no control character
    // reaches the terminal (line ends are the listing's own).
    return util::text::ControlCharactersShown(ListingText(listing), true);
}

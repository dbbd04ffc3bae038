// What a packed output folder (setup.nsx, data.nsx, file1.cab) will do, read
// back from the folder alone: the product, its pages and allowed systems from
// the settings, and every file record as the setup will install it, with the
// size the cabinet stores for it. The containers are decrypted with the key
// every project file uses, the file list is read by the setup's own rules and
// the cabinet's directory by cvpack's bounds-checked reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ListedFile {
    std::string destination;  // destination path with placeholders and the file name
    std::string address;      // a web item's address; "" for a payload file
    uint64_t size = 0;        // bytes stored in the cabinet (payload files)
    int32_t flags = 0;
    int32_t systemMask = 0;
    std::string feature;
};

struct PackageListing {
    std::string productName;
    std::string productVersion;
    std::string productCode;
    std::vector<std::string> pages;    // layout files in wizard order
    std::vector<std::string> systems;  // names of the allowed systems ("98" ... "NET")
    std::vector<ListedFile> files;     // in data.nsx order
};

// Reads the packed folder. `codePage` is the one the setup will read the file
// list in (its names are split by its characters). Throws std::runtime_error
// naming the file at fault: a container that is missing or not a project
// container, a truncated or damaged cabinet, a payload record the cabinet
// does not hold.
PackageListing ReadPackage(const std::string& packageDir, unsigned codePage);

// The listing as text for people: one "Label: value" line per setting, then
// one block per file.
std::string FormatPackageListing(const PackageListing& listing);

// The names of a FLAGS value's bits ("read-only", "only-if-absent", ...),
// separated by ", "; "none" for 0.
std::string FlagNames(int32_t flags);

// The systems an OSMASK value installs on: "all" for the every-system masks
// (0, 255, or bit 1 set), else the names of its bits ("XP, NET").
std::string SystemMaskNames(int32_t mask);

// The directory of a cabinet read back from its bytes: the header, the
// folders and the file entries, without extracting anything. cvpack reads
// what it wrote (through a platform library it cannot ask) to tell what a
// packed folder holds; every field is checked against the bytes there are,
// so a truncated or damaged cabinet is an error, never a read past its end.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct CabinetFileEntry {
    std::string name;         // as stored: the project's bytes
    uint32_t size = 0;        // uncompressed bytes
    uint16_t folder = 0;      // index of the folder holding the data
    uint16_t attributes = 0;  // file attribute bits as stored
};

struct CabinetDirectory {
    uint32_t cabinetSize = 0;              // bytes, as the header gives them
    std::vector<uint16_t> folderTypes;     // compression of each folder: 0 stored, 1 MSZIP...
    std::vector<CabinetFileEntry> files;   // in stored order
};

// A cabinet the directory cannot be read from; what() names the problem.
class CabinetDirectoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the directory from the cabinet's first bytes. `fileSize` is the
// whole file's size, which the header's own size must not exceed; `bytes`
// may be a prefix of the file as long as it holds the header, folders and
// file entries. Throws CabinetDirectoryError ("truncated ...", "not a
// cabinet", ...) on anything that does not fit.
CabinetDirectory ParseCabinetDirectory(const std::string& bytes, uint64_t fileSize);

// Reads the directory of the cabinet file at `path`, reading only as much of
// the file as its directory needs. Errors as above, prefixed by the path.
CabinetDirectory ReadCabinetDirectory(const std::string& path);

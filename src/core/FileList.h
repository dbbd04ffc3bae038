// The decrypted file list (data.inf): pairs of lines, a source line and a
// data line "DESTDIR*FLAGS*OSMASK*NUMBER|FEATURE", read into file records in
// file order. Pure text rules, shared by the engine and the authoring tool;
// reading the file from disk is the caller's. File names are split by
// characters of the code page the list is written in (core/CodePage.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core::filelist {

// Longest text kept in a record field. A longer field is cut to its first
// kMaxFieldLength characters (the file name is taken from the whole source
// line first, then cut).
constexpr size_t kMaxFieldLength = 454;

struct FileRecord {
    std::string fileName;    // FileNameOf the source line
    std::string sourceLine;  // the whole source line (a path, or a web item's address)
    std::string destDir;     // DESTDIR as authored (placeholders, "Destination Computer\")
    std::string feature;     // everything after the first "|" that follows OSMASK
    int32_t flags = 0;       // FLAGS (install::filerules::kFlag... bits)
    int32_t systemMask = 0;  // OSMASK
    int32_t number = 0;      // NUMBER: kept, not used by the installer
};

// Splits the list text into lines. Every CR ends a line: the text before it
// is the line, the CR and the one character after it (normally the LF) are
// dropped. Text after the last CR is ignored, so a text without any CR (LF
// line ends only) has no lines. The text ends at its first NUL byte, which
// also disposes of the zero padding left by decryption.
std::vector<std::string> SplitLines(const std::string& text);

// The five field texts of a data line as written (not cut, numbers not read).
struct DataFields {
    std::string destDir;
    std::string flags;
    std::string systemMask;
    std::string number;
    std::string feature;
    int separators = 0;  // how many of the four separators were found: 4 for a complete line
};

// Cuts a data line into its fields. Separators are searched left to right:
// the first "*" ends DESTDIR, the next "*" ends FLAGS, the next "*" ends
// OSMASK, the first "|" after that ends NUMBER; FEATURE is the rest. A missing
// separator lets its field run to the end of the line and leaves every later
// field empty; `separators` then tells which one was missing.
DataFields SplitDataLine(const std::string& dataLine);

// One record from a source line and its data line, split by SplitDataLine,
// the file name taken in `codePage`, every text cut to kMaxFieldLength
// characters. A malformed data line still
// makes a record (missing fields empty, numbers 0), so the positions of later
// records keep matching their stored names. Numbers are read as an optional
// sign and leading decimal digits (none gives 0), saturating at the 32-bit
// limits.
FileRecord ParseRecord(const std::string& sourceLine, const std::string& dataLine, unsigned codePage);

// Every record of the list text, in file order. Lines alternate source line,
// data line; a last source line without its data line makes no record.
std::vector<FileRecord> ParseFileList(const std::string& text, unsigned codePage);

// Text after the last backslash, slash or colon (the whole text without any),
// found by characters of `codePage`: the second byte of a double-byte
// character is never taken for a separator.
std::string FileNameOf(const std::string& path, unsigned codePage);

// A record is a web item, downloaded at install time instead of taken from
// the payload, when its source line contains "http:", "https:" or "ftp:"
// (case matters).
bool IsWebItem(const std::string& sourceLine);

// The distinct destination directories of the records in order of first
// appearance: DESTDIR with one trailing backslash removed, compared exactly
// (case matters). Empty directories are left out. There is no limit on the
// number of entries: every directory a record needs is listed.
std::vector<std::string> DistinctDirectories(const std::vector<FileRecord>& records);

// Name under which the payload file of the record at zero-based position
// `index` is stored: "F<index>_<file name>" ("F%i_%s").
std::string StoredName(size_t index, const std::string& fileName);

// Payload folder (with its trailing backslash) followed by the stored name.
std::string StoredPath(const std::string& payloadFolder, size_t index, const std::string& fileName);

}  // namespace core::filelist

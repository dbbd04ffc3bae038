// The slide show's rules that need no Windows call: the billboards a project
// lists, where each one's picture is looked for, where its window goes and
// how long it stays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace billboard {

// The lists hold 20 billboards; later ones are not shown.
constexpr int kMaxBillboards = 20;

struct Billboard {
    std::string picture;  // file name part of "B<i>"
    uint32_t milliseconds = 0;
    int left = 1;
    int top = 1;
};

// Reads a key of the BILLBOARDSCV section with a buffer of `size` bytes.
using KeyReader = std::function<std::string(const std::string& key, int size)>;

// "TOTAL" (read with 100 bytes), then "B", "C", "D", "E" of each billboard
// (255 bytes); at most kMaxBillboards.
std::vector<Billboard> ReadBillboards(const KeyReader& read, unsigned codePage);

// A window edge: the number, with 0 (also no number) meaning 1, so a
// billboard is never placed on the screen's very corner.
int ScreenEdge(const std::string& value);

// Display time: whole seconds in milliseconds; a negative or missing number
// is 0 (the next billboard follows at once), and a huge one is capped where
// a timer can still hold it.
uint32_t DisplayMilliseconds(const std::string& seconds);

// Where the picture `name` is looked for, first match wins: the working
// folder (the cabinet's extraction), then the DiskImage1 and DiskImage2
// folders beside the setup. Folders end with a backslash.
std::vector<std::string> PictureCandidates(const std::string& workingFolder,
                                           const std::string& sourceFolder, const std::string& name);

}  // namespace billboard

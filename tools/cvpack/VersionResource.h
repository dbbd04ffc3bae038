// The version resource (VS_VERSIONINFO) that Explorer's file properties and
// GetFileVersionInfo show: the fixed numbers and one table of texts in
// US English, Unicode.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace version {

// The four numbers of a version text: its parts between dots, up to four;
// a part that is no number from 0 to 65535 ("beta", "2a") counts as 0, as
// does every missing one ("1.4.2" gives 1, 4, 2, 0).
std::array<uint16_t, 4> Numbers(const std::string& text);

struct Info {
    std::array<uint16_t, 4> fileVersion{}, productVersion{};
    // Name and text of each string value, in this order; an empty text is left out.
    std::vector<std::pair<std::u16string, std::u16string>> strings;
};

// The resource's bytes: a program (VFT_APP) for Windows NT.
std::string Build(const Info& info);

// The language and code page of the one table written (US English, Unicode).
constexpr uint16_t kLanguage = 0x0409;
constexpr uint16_t kCodePage = 1200;

}  // namespace version

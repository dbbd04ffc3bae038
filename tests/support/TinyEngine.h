// A small 64-bit Windows program laid out as our MinGW build lays out the
// engine (.text, .rsrc, then .reloc), with the resources a test gives and an
// icon group: something cvpack can stamp when no built engine is at hand.
// It is never run, only read.
#pragma once

#include <string>
#include <vector>

#include "LittleEndian.h"
#include "ResourceSection.h"

namespace tinyengine {

constexpr uint32_t kRsrcRva = 0x2000;
constexpr size_t kOptionalHeader = 0x58;  // offset of the PE32+ optional header

inline pe::Resource Make(uint16_t type, uint16_t name, std::string data) {
    pe::Resource r;
    r.type.id = type;
    r.name.id = name;
    r.language = 0x409;
    r.data = std::move(data);
    return r;
}

// One icon (number 1) in group 1, a page icon (number 2) in group 5, a
// version resource, and a data resource holding `tag`.
inline std::vector<pe::Resource> Resources(const std::string& tag) {
    auto group = [](uint16_t icon) {
        std::string g;
        le::Append16(g, 0), le::Append16(g, 1), le::Append16(g, 1);
        g += std::string("\x10\x10\0\0", 4);
        le::Append16(g, 1), le::Append16(g, 32), le::Append32(g, 40), le::Append16(g, icon);
        return g;
    };
    std::string bitmap(40, '\0');
    le::Put32(bitmap, 0, 40);
    return {Make(pe::kIcon, 1, bitmap),           Make(pe::kIcon, 2, bitmap + "page"),
            Make(pe::kGroupIcon, 1, group(1)),     Make(pe::kGroupIcon, 5, group(2)),
            Make(pe::kVersion, 1, "old version"), Make(10, 7, tag)};
}

// The program's bytes.
inline std::string Build(const std::vector<pe::Resource>& resources) {
    const std::string rsrc = pe::BuildResourceSection(resources, kRsrcRva);
    const uint32_t rsrcRaw = static_cast<uint32_t>(le::AlignUp(rsrc.size(), 0x200));
    const uint32_t relocRva = static_cast<uint32_t>(kRsrcRva + le::AlignUp(rsrc.size(), 0x1000));
    std::string file(0x400, '\0');
    file[0] = 'M', file[1] = 'Z';
    le::Put32(file, 0x3C, 0x40);
    le::Put32(file, 0x40, 0x4550);
    le::Put16(file, 0x44, 0x8664);
    le::Put16(file, 0x46, 3);     // sections
    le::Put16(file, 0x54, 240);   // optional header size
    le::Put16(file, 0x56, 0x22);  // an executable, large addresses
    const size_t o = kOptionalHeader;
    le::Put16(file, o, 0x20B);
    le::Put32(file, o + 16, 0x1000);  // entry point
    le::Put32(file, o + 24, 0x40000000);  // image base (low part)
    le::Put32(file, o + 32, 0x1000);
    le::Put32(file, o + 36, 0x200);
    le::Put16(file, o + 48, 6);  // subsystem version
    le::Put32(file, o + 56, relocRva + 0x1000);  // size of image
    le::Put32(file, o + 60, 0x200);              // size of headers
    le::Put16(file, o + 68, 2);                  // a GUI program
    le::Put32(file, o + 108, 16);
    le::Put32(file, o + 112 + 2 * 8, kRsrcRva);
    le::Put32(file, o + 112 + 2 * 8 + 4, static_cast<uint32_t>(rsrc.size()));
    le::Put32(file, o + 112 + 5 * 8, relocRva);
    le::Put32(file, o + 112 + 5 * 8 + 4, 12);
    const struct {
        const char* name;
        uint32_t size, rva, rawSize, raw;
    } sections[] = {{".text", 1, 0x1000, 0x200, 0x200},
                    // As MinGW's linker writes it: the raw size unaligned, the next section aligned.
                    {".rsrc", static_cast<uint32_t>(rsrc.size()), kRsrcRva, static_cast<uint32_t>(rsrc.size()), 0x400},
                    {".reloc", 12, relocRva, 0x200, 0x400 + rsrcRaw}};
    for (size_t i = 0; i < 3; ++i) {
        const size_t at = o + 240 + i * 40;
        file.replace(at, std::string(sections[i].name).size(), sections[i].name);
        le::Put32(file, at + 8, sections[i].size);
        le::Put32(file, at + 12, sections[i].rva);
        le::Put32(file, at + 16, sections[i].rawSize);
        le::Put32(file, at + 20, sections[i].raw);
    }
    file[0x200] = '\xC3';  // ret
    file += rsrc;
    file.append(rsrcRaw - rsrc.size(), '\0');
    std::string reloc(0x200, '\0');
    le::Put32(reloc, 0, 0x1000);
    le::Put32(reloc, 4, 12);
    return file + reloc;
}

}  // namespace tinyengine

#include "control/Processor.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define CV_HAVE_CPUID 1
#endif

namespace control {
namespace {

// Name by model within one family; a null entry means "unknown".
const char* FromList(const char* const* names, size_t count, uint32_t model) {
    if (model < count && names[model]) return names[model];
    return "unknown";
}

template <size_t N>
const char* FromList(const char* const (&names)[N], uint32_t model) {
    return FromList(names, N, model);
}

const char* IntelName(uint32_t family, uint32_t model, uint32_t extendedFamily,
                      uint32_t extendedModel) {
    static const char* const kFamily4[] = {
        "INTEL 486 DX-25/33", "INTEL 486 DX-50", "INTEL 486 SX",      "INTEL 486 DX2",
        "INTEL 486 SL",       "INTEL 486 SX2",   nullptr,             "INTEL 486 DX2-WB",
        "INTEL 486 DX4",      "INTEL 486 DX4-WB"};
    static const char* const kFamily5[] = {
        "INTEL Pentium 60/66 A-step", "INTEL Pentium 60/66",         "INTEL Pentium 75-200",
        "INTEL OverDrive PODP5V83",   "INTEL Pentium MMX",           nullptr,
        nullptr,                      "INTEL Mobile Pentium 75-200", "INTEL Mobile Pentium MMX"};
    static const char* const kFamily6[] = {
        "INTEL Itanium",
        "INTEL Pentium Pro A-Step",
        "INTEL Pentium Pro",
        "INTEL Pentium II Klamath",
        "INTEL Itanium",
        "INTEL Pentium II Deschutes",
        "INTEL Celeron Mendocino",
        "INTEL Pentium III Katmai",
        "INTEL Pentium III Coppermine",
        "INTEL Mobile Pentium III",
        "INTEL Pentium III (0.18um)",
        "INTEL Pentium III (0.13um)"};
    switch (family) {
        case 4: return FromList(kFamily4, model);
        case 5: return FromList(kFamily5, model);
        case 6: return model < 12 ? kFamily6[model] : "INTEL Itanium";
        case 7: return "INTEL Itanium";
        case 15:
            if (extendedFamily == 1) return "INTEL Itanium 2 (IA-64)";
            if (extendedFamily != 0) return "unknown";
            // The character after "0.18 " and the others is the micro sign of
            // the Windows ANSI code page.
            switch (extendedModel) {
                case 0:
                case 1: return "INTEL Pentium IV (0.18 \xB5m)";
                case 2: return "INTEL Pentium IV (0.13 \xB5m)";
                case 3: return "INTEL Pentium IV (0.09 \xB5m)";
                default: return "unknown";
            }
        default: return "unknown";
    }
}

const char* AmdName(uint32_t family, uint32_t model, uint32_t extendedFamily,
                    uint32_t extendedModel) {
    static const char* const kFamily4[] = {
        nullptr, nullptr, nullptr, "AMD 486 DX2",   nullptr,         nullptr,
        nullptr, "AMD 486 DX2-WB", "AMD 486 DX4",   "AMD 486 DX4-WB", nullptr,
        nullptr, nullptr, nullptr, "AMD Am5x86-WT", "AMD Am5x86-WB"};
    static const char* const kFamily5[] = {
        "AMD K5 SSA5", "AMD K5", "AMD K5",   "AMD K5",   nullptr, nullptr, "AMD K6",
        "AMD K6",      "AMD K6-2", "AMD K6-3", nullptr, nullptr, nullptr, "AMD K6-3+"};
    static const char* const kFamily6[] = {
        "AMD Athlon (25um)",      "AMD Athlon (25um)",   "AMD Athlon (18um)",
        "AMD Duron",              "AMD Athlon Thunderbird", nullptr,
        "AMD Athlon Palamino",    "AMD Duron Morgan",    "AMD Athlon Thoroughbred",
        nullptr,                  "AMD Athlon Barton"};
    switch (family) {
        case 4: return FromList(kFamily4, model);
        case 5: return FromList(kFamily5, model);
        case 6: return FromList(kFamily6, model);
        case 15:
            if (extendedFamily == 0 && extendedModel == 4) return "AMD Athlon 64";
            if (extendedFamily == 0 && extendedModel == 5) return "AMD Athlon 64FX Operon";
            return "unknown";
        default: return "unknown";
    }
}

std::string VendorText(uint32_t ebx, uint32_t edx, uint32_t ecx) {
    // Each register holds four characters, the first in its lowest byte; a
    // zero byte ends the text early.
    const uint32_t words[3] = {ebx, edx, ecx};
    std::string vendor;
    for (uint32_t word : words) {
        for (int shift = 0; shift < 32; shift += 8) {
            const char c = static_cast<char>((word >> shift) & 0xFF);
            if (c == '\0') return vendor;
            vendor += c;
        }
    }
    return vendor;
}

}  // namespace

const char* ProcessorName(const std::string& vendor, uint32_t family, uint32_t model,
                          uint32_t extendedFamily, uint32_t extendedModel) {
    if (vendor == "GenuineIntel") return IntelName(family, model, extendedFamily, extendedModel);
    if (vendor == "AuthenticAMD") return AmdName(family, model, extendedFamily, extendedModel);
    if (vendor == "CyrixInstead") return "Cyrix";
    if (vendor == "CentaurHauls") return "Centaur";
    return "unknown";
}

ProcessorInfo ProcessorInfoFromCpuid(const CpuidRegisters& regs) {
    ProcessorInfo info;
    info.vendor = VendorText(regs.vendorEbx, regs.vendorEdx, regs.vendorEcx);

    const uint32_t extended = regs.maxExtendedLeaf >= 0x80000000u ? regs.extendedFeatures : 0;
    if (regs.features & (1u << 23)) info.features |= kProcessorMMX;
    if (extended & (1u << 31)) info.features |= kProcessor3DNow;
    if (regs.features & (1u << 25)) info.features |= kProcessorSSE;
    if (regs.features & (1u << 26)) info.features |= kProcessorSSE2;

    const uint32_t sig = regs.signature;
    info.family = (sig >> 8) & 0xF;
    info.extendedFamily = info.family == 15 ? (sig >> 16) & 0xFF0 : 0;
    info.model = (sig >> 4) & 0xF;
    info.extendedModel = info.model == 15 ? (sig >> 12) & 0xF : 0;
    info.stepping = sig & 0xF;

    info.name = ProcessorName(info.vendor, info.family, info.model, info.extendedFamily,
                              info.extendedModel);
    return info;
}

bool IdentifyProcessor(ProcessorInfo& info) {
#ifdef CV_HAVE_CPUID
    CpuidRegisters regs;
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    // Reports 0 when the processor lacks the instruction (only possible on
    // 32-bit processors, where the ID flag of EFLAGS is tested first).
    if (__get_cpuid_max(0, nullptr) == 0) return false;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx)) return false;
    regs.vendorEbx = ebx;
    regs.vendorEdx = edx;
    regs.vendorEcx = ecx;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) {
        regs.signature = eax;
        regs.features = edx;
    }
    regs.maxExtendedLeaf = __get_cpuid_max(0x80000000u, nullptr);
    // Gives nothing when the processor does not offer the leaf.
    if (regs.maxExtendedLeaf >= 0x80000000u && __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx))
        regs.extendedFeatures = edx;
    info = ProcessorInfoFromCpuid(regs);
    return true;
#else
    (void)info;
    return false;
#endif
}

}  // namespace control

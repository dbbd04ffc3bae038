// Processor identification: vendor, signature fields, feature flags and a
// display name, built from the values of the CPUID instruction.
#pragma once

#include <cstdint>
#include <string>

namespace control {

// Feature flags of ProcessorInfo::features.
constexpr uint32_t kProcessorMMX = 1;     // leaf 1 EDX bit 23
constexpr uint32_t kProcessor3DNow = 2;   // leaf 0x80000001 EDX bit 31
constexpr uint32_t kProcessorSSE = 4;     // leaf 1 EDX bit 25
constexpr uint32_t kProcessorSSE2 = 8;    // leaf 1 EDX bit 26

// Longest processor name.
constexpr size_t kMaxProcessorNameLength = 34;

// Raw register values the identification reads.
struct CpuidRegisters {
    uint32_t vendorEbx = 0;         // leaf 0
    uint32_t vendorEdx = 0;         // leaf 0
    uint32_t vendorEcx = 0;         // leaf 0
    uint32_t signature = 0;         // leaf 1 EAX
    uint32_t features = 0;          // leaf 1 EDX
    uint32_t maxExtendedLeaf = 0;   // leaf 0x80000000 EAX
    uint32_t extendedFeatures = 0;  // leaf 0x80000001 EDX
};

struct ProcessorInfo {
    std::string vendor;           // 12 characters, for example "GenuineIntel"
    uint32_t family = 0;          // signature bits 8-11
    uint32_t model = 0;           // signature bits 4-7
    uint32_t stepping = 0;        // signature bits 0-3
    uint32_t extendedFamily = 0;  // (signature >> 16) & 0xFF0 when the family is 15, else 0
    uint32_t extendedModel = 0;   // signature bits 12-15 when the model is 15, else 0
    uint32_t features = 0;        // kProcessor* flags
    std::string name;             // from the name table, "unknown" when not listed
};

// Builds the identification from raw register values. The extended feature
// bits count only when the maximum extended leaf is at least 0x80000000.
ProcessorInfo ProcessorInfoFromCpuid(const CpuidRegisters& regs);

// The name for a vendor text and the signature fields; "unknown" for any
// combination the name table does not list.
const char* ProcessorName(const std::string& vendor, uint32_t family, uint32_t model,
                          uint32_t extendedFamily, uint32_t extendedModel);

// Runs CPUID on this processor. Returns false (and leaves `info` alone) when
// the processor has no identification instruction or is not an x86 processor.
bool IdentifyProcessor(ProcessorInfo& info);

}  // namespace control

// Processor identification from synthetic CPUID register values.
#include <gtest/gtest.h>

#include <cstring>

#include "control/Processor.h"

namespace {

// Packs four characters into a register, the first in the lowest byte.
uint32_t Chars(const char* four) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(four[i]);
    return v;
}

// Registers of a processor with the given vendor (12 characters) and signature.
control::CpuidRegisters Regs(const char* vendor, uint32_t signature) {
    control::CpuidRegisters r;
    r.vendorEbx = Chars(vendor);
    r.vendorEdx = Chars(vendor + 4);
    r.vendorEcx = Chars(vendor + 8);
    r.signature = signature;
    return r;
}

uint32_t Signature(uint32_t family, uint32_t model, uint32_t stepping = 0,
                   uint32_t bits12to15 = 0, uint32_t bits16to27 = 0) {
    return (bits16to27 << 16) | (bits12to15 << 12) | (family << 8) | (model << 4) | stepping;
}

std::string NameOf(const char* vendor, uint32_t signature) {
    return control::ProcessorInfoFromCpuid(Regs(vendor, signature)).name;
}

TEST(Processor, VendorComesFromEbxEdxEcxInThatOrder) {
    const control::ProcessorInfo intel = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", 0));
    EXPECT_EQ(intel.vendor, "GenuineIntel");
    control::CpuidRegisters r;
    r.vendorEbx = 0x68747541;  // "Auth"
    r.vendorEdx = 0x69746E65;  // "enti"
    r.vendorEcx = 0x444D4163;  // "cAMD"
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).vendor, "AuthenticAMD");
    EXPECT_EQ(control::ProcessorInfoFromCpuid(control::CpuidRegisters{}).vendor, "");
}

TEST(Processor, SignatureFields) {
    const control::ProcessorInfo p = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(6, 8, 3)));
    EXPECT_EQ(p.family, 6u);
    EXPECT_EQ(p.model, 8u);
    EXPECT_EQ(p.stepping, 3u);
    EXPECT_EQ(p.extendedFamily, 0u);
    EXPECT_EQ(p.extendedModel, 0u);
    EXPECT_EQ(p.name, "INTEL Pentium III Coppermine");
}

TEST(Processor, ExtendedValuesOnlyForFamilyAndModel15) {
    // Family 6: the upper bits are ignored.
    control::ProcessorInfo p = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(6, 15, 0, 3, 0x12)));
    EXPECT_EQ(p.extendedFamily, 0u);
    EXPECT_EQ(p.extendedModel, 3u);
    p = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(15, 2, 0, 3, 0x12)));
    // (signature >> 16) & 0xFF0: bits 20-27 land four places up, the
    // extended-model nibble (bits 16-19) is masked away.
    EXPECT_EQ(p.extendedFamily, 0x10u);
    EXPECT_EQ(p.extendedModel, 0u);
    p = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(15, 2, 0, 0, 0x0F)));
    EXPECT_EQ(p.extendedFamily, 0u);
}

TEST(Processor, PentiumIVByExtendedModel) {
    const char* kVendor = "GenuineIntel";
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 0)), "INTEL Pentium IV (0.18 \xB5m)");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 1)), "INTEL Pentium IV (0.18 \xB5m)");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 2)), "INTEL Pentium IV (0.13 \xB5m)");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 3)), "INTEL Pentium IV (0.09 \xB5m)");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 4)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 15)), "unknown");
}

TEST(Processor, MicroSignIsTheAnsiByte) {
    const std::string name = NameOf("GenuineIntel", Signature(15, 15, 0, 2));
    ASSERT_EQ(name.size(), 26u);
    EXPECT_EQ(static_cast<unsigned char>(name[23]), 0xB5);
    EXPECT_EQ(name.substr(0, 23), "INTEL Pentium IV (0.13 ");
    EXPECT_EQ(name.substr(24), "m)");
}

TEST(Processor, PentiumIVWithOtherModelCountsAsExtendedModelZero) {
    // Bits 12-15 are only read when the model is 15.
    for (uint32_t model : {0u, 1u, 2u, 3u, 4u, 6u}) {
        const control::ProcessorInfo p =
            control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(15, model, 9, 3)));
        EXPECT_EQ(p.extendedModel, 0u);
        EXPECT_EQ(p.name, "INTEL Pentium IV (0.18 \xB5m)") << model;
    }
}

TEST(Processor, ItaniumTwoNeedsExtendedFamilyValueOne) {
    EXPECT_STREQ(control::ProcessorName("GenuineIntel", 15, 0, 1, 0), "INTEL Itanium 2 (IA-64)");
    EXPECT_STREQ(control::ProcessorName("GenuineIntel", 15, 0, 2, 0), "unknown");
    // From a real signature the masked value is a multiple of 16, so an
    // Itanium 2 signature (extended family 1 in bits 20-27) reads as 16.
    const control::ProcessorInfo p = control::ProcessorInfoFromCpuid(Regs("GenuineIntel", Signature(15, 1, 0, 0, 0x10)));
    EXPECT_EQ(p.extendedFamily, 16u);
    EXPECT_EQ(p.name, "unknown");
}

TEST(Processor, IntelFamily6) {
    const char* kVendor = "GenuineIntel";
    const char* kNames[16] = {"INTEL Itanium",
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
                              "INTEL Pentium III (0.13um)",
                              "INTEL Itanium",
                              "INTEL Itanium",
                              "INTEL Itanium",
                              "INTEL Itanium"};
    for (uint32_t m = 0; m < 16; ++m) EXPECT_EQ(NameOf(kVendor, Signature(6, m)), kNames[m]) << m;
    for (uint32_t m = 0; m < 16; ++m) EXPECT_EQ(NameOf(kVendor, Signature(7, m)), "INTEL Itanium");
}

TEST(Processor, IntelFamilies4And5) {
    const char* kVendor = "GenuineIntel";
    EXPECT_EQ(NameOf(kVendor, Signature(4, 0)), "INTEL 486 DX-25/33");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 5)), "INTEL 486 SX2");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 6)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 9)), "INTEL 486 DX4-WB");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 10)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 0)), "INTEL Pentium 60/66 A-step");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 4)), "INTEL Pentium MMX");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 5)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 8)), "INTEL Mobile Pentium MMX");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 9)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(3, 0)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(8, 0)), "unknown");
}

TEST(Processor, AmdNames) {
    const char* kVendor = "AuthenticAMD";
    EXPECT_EQ(NameOf(kVendor, Signature(4, 3)), "AMD 486 DX2");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 0)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 14)), "AMD Am5x86-WT");
    EXPECT_EQ(NameOf(kVendor, Signature(4, 15)), "AMD Am5x86-WB");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 0)), "AMD K5 SSA5");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 2)), "AMD K5");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 7)), "AMD K6");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 13)), "AMD K6-3+");
    EXPECT_EQ(NameOf(kVendor, Signature(5, 14)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(6, 1)), "AMD Athlon (25um)");
    EXPECT_EQ(NameOf(kVendor, Signature(6, 3)), "AMD Duron");
    EXPECT_EQ(NameOf(kVendor, Signature(6, 5)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(6, 10)), "AMD Athlon Barton");
    EXPECT_EQ(NameOf(kVendor, Signature(6, 11)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(7, 0)), "unknown");
}

TEST(Processor, AmdFamily15ByExtendedModel) {
    const char* kVendor = "AuthenticAMD";
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 4)), "AMD Athlon 64");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 5)), "AMD Athlon 64FX Operon");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 3)), "unknown");
    EXPECT_EQ(NameOf(kVendor, Signature(15, 4)), "unknown");  // model not 15: extended model 0
    EXPECT_EQ(NameOf(kVendor, Signature(15, 15, 0, 4, 0x10)), "unknown");
    EXPECT_STREQ(control::ProcessorName(kVendor, 15, 15, 1, 5), "unknown");
}

TEST(Processor, OtherVendors) {
    EXPECT_EQ(NameOf("CyrixInstead", Signature(5, 2)), "Cyrix");
    EXPECT_EQ(NameOf("CyrixInstead", Signature(15, 15, 0, 15, 0xFFF)), "Cyrix");
    EXPECT_EQ(NameOf("CentaurHauls", Signature(6, 9)), "Centaur");
    EXPECT_EQ(NameOf("GenuineTMx86", Signature(6, 9)), "unknown");
    EXPECT_EQ(NameOf("genuineintel", Signature(6, 9)), "unknown");
}

TEST(Processor, FeatureFlags) {
    control::CpuidRegisters r = Regs("GenuineIntel", Signature(6, 8));
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, 0u);
    r.features = 1u << 23;
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, control::kProcessorMMX);
    r.features = (1u << 23) | (1u << 25) | (1u << 26);
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, control::kProcessorMMX | control::kProcessorSSE | control::kProcessorSSE2);
    r.features = 0xFFFFFFFFu & ~((1u << 23) | (1u << 25) | (1u << 26));
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, 0u);
    // 3DNow! counts only when the extended leaves are reported.
    r.features = 0;
    r.extendedFeatures = 1u << 31;
    r.maxExtendedLeaf = 0;
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, 0u);
    r.maxExtendedLeaf = 0x7FFFFFFFu;
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, 0u);
    r.maxExtendedLeaf = 0x80000000u;
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, control::kProcessor3DNow);
    r.maxExtendedLeaf = 0x80000008u;
    r.extendedFeatures = 0x7FFFFFFFu;
    EXPECT_EQ(control::ProcessorInfoFromCpuid(r).features, 0u);
}

TEST(Processor, EveryNameFitsTheNameField) {
    for (const char* vendor : {"GenuineIntel", "AuthenticAMD", "CyrixInstead", "Other"})
        for (uint32_t family = 0; family < 16; ++family)
            for (uint32_t model = 0; model < 16; ++model)
                for (uint32_t xf : {0u, 1u, 16u})
                    for (uint32_t xm = 0; xm < 16; ++xm)
                        EXPECT_LE(std::strlen(control::ProcessorName(vendor, family, model, xf, xm)),
                                  control::kMaxProcessorNameLength);
}

TEST(Processor, IdentifyOnThisMachine) {
    control::ProcessorInfo info;
    info.name = "untouched";
#if defined(__i386__) || defined(__x86_64__)
    ASSERT_TRUE(control::IdentifyProcessor(info));
    EXPECT_EQ(info.vendor.size(), 12u);
    EXPECT_FALSE(info.name.empty());
    EXPECT_LE(info.name.size(), control::kMaxProcessorNameLength);
    // Every x86-64 processor has MMX, SSE and SSE2.
#if defined(__x86_64__)
    EXPECT_EQ(info.features & (control::kProcessorMMX | control::kProcessorSSE | control::kProcessorSSE2),
              control::kProcessorMMX | control::kProcessorSSE | control::kProcessorSSE2);
#endif
#else
    EXPECT_FALSE(control::IdentifyProcessor(info));
    EXPECT_EQ(info.name, "untouched");
#endif
}

}  // namespace

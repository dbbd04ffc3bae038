// System-requirement rules and the per-item operating-system filter.
#include <gtest/gtest.h>

#include "control/RequirementRules.h"

namespace {

using control::requirements::RequirementFailure;

control::OsVersionRecord Version(uint32_t major, uint32_t minor, uint32_t build, uint32_t platform) {
    control::OsVersionRecord v;
    v.major = major;
    v.minor = minor;
    v.build = build;
    v.platform = platform;
    return v;
}

const control::OsVersionRecord k98 = Version(4, 10, 1998, 1);
const control::OsVersionRecord k98SE = Version(4, 10, 2222, 1);
const control::OsVersionRecord kME = Version(4, 90, 3000, 1);
const control::OsVersionRecord kNT4 = Version(4, 0, 1381, control::kPlatformNT);
const control::OsVersionRecord k2000 = Version(5, 0, 2195, control::kPlatformNT);
const control::OsVersionRecord kXP = Version(5, 1, 2600, control::kPlatformNT);
const control::OsVersionRecord kNET = Version(5, 2, 3790, control::kPlatformNT);
const control::OsVersionRecord kVista = Version(6, 0, 6000, control::kPlatformNT);

std::array<std::string, 7> AllYes() { return {"Yes", "Yes", "Yes", "Yes", "Yes", "Yes", "Yes"}; }

// Requirements that all pass, and a machine that meets them.
control::requirements::RequirementValues NoRequirements() {
    control::requirements::RequirementValues r;
    r.processor = "All Processors";
    r.memory = "Any";
    r.screen = "Any resolution";
    r.colors = "Any colors";
    r.os = AllYes();
    return r;
}

control::requirements::MachineFacts SampleMachine() {
    control::requirements::MachineFacts m;
    m.version = kXP;
    m.totalPhysicalBytes = 512ull << 20;
    m.screenWidth = 1024;
    m.screenHeight = 768;
    m.bitsPerPixel = 32;
    m.processorName = "INTEL Pentium III Katmai";
    return m;
}

TEST(RequirementRules, AllowedMaskFromExactYes) {
    EXPECT_EQ(control::requirements::AllowedSystemMask(AllYes()), 127);
    EXPECT_EQ(control::requirements::AllowedSystemMask({}), 0);
    EXPECT_EQ(control::requirements::AllowedSystemMask({"Yes", "", "yes", "No", "Yes", "YES", "Yes"}),
              1 | 16 | 64);
}

TEST(RequirementRules, EachAllowedBitMatchesItsSystem) {
    const std::pair<int, control::OsVersionRecord> rows[] = {{1, k98},   {2, k98SE}, {4, kME}, {8, kNT4},
                                                    {16, k2000}, {32, kXP}, {64, kNET}};
    for (const auto& row : rows) {
        for (const auto& other : rows) {
            EXPECT_EQ(control::requirements::OperatingSystemAllowed(row.first, other.second),
                      row.first == other.first)
                << row.first << " on " << other.first;
        }
        // Later NT systems count as "NET" ("os6", bit 64) and as nothing else.
        EXPECT_EQ(control::requirements::OperatingSystemAllowed(row.first, kVista), row.first == 64);
    }
    // The name given to "os<i>" is the name of the system its bit lets in.
    for (int i = 0; i < 7; ++i)
        EXPECT_STREQ(control::requirements::AllowedSystemName(i), control::OsNameFromVersion(rows[i].second)) << i;
    EXPECT_STREQ(control::requirements::AllowedSystemName(7), "");
}

TEST(RequirementRules, MaskOfAllSevenSkipsTheCheck) {
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(127, kVista));
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(127, Version(10, 0, 19045, control::kPlatformNT)));
    // Six of seven do not skip it.
    EXPECT_FALSE(control::requirements::OperatingSystemAllowed(63, kVista));
}

TEST(RequirementRules, MaskZeroFailsEverywhere) {
    for (const auto& v : {k98, k98SE, kME, kNT4, k2000, kXP, kNET, kVista})
        EXPECT_FALSE(control::requirements::OperatingSystemAllowed(0, v));
}

TEST(RequirementRules, SystemTestsDetails) {
    // Build 2183 is both 98 and 98SE; only the low 16 bits of the build count.
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(1, Version(4, 10, 2183, 1)));
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(2, Version(4, 10, 2183, 1)));
    EXPECT_FALSE(control::requirements::OperatingSystemAllowed(1, Version(4, 10, 2184, 1)));
    EXPECT_FALSE(control::requirements::OperatingSystemAllowed(2, Version(4, 10, 2182, 1)));
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(1, Version(4, 10, 0x040A07CE, 1)));
    // NT4 and 2000 do not look at the platform; XP and .NET do.
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(8, Version(4, 0, 950, 1)));
    EXPECT_TRUE(control::requirements::OperatingSystemAllowed(16, Version(5, 0, 0, 1)));
    EXPECT_FALSE(control::requirements::OperatingSystemAllowed(32, Version(5, 1, 2600, 1)));
    EXPECT_FALSE(control::requirements::OperatingSystemAllowed(64, Version(5, 2, 3790, 1)));
}

TEST(RequirementRules, RequiredMemory) {
    EXPECT_FALSE(control::requirements::RequiredMemoryMB("Any").has_value());
    EXPECT_EQ(control::requirements::RequiredMemoryMB("128 MB"), 128);
    EXPECT_EQ(control::requirements::RequiredMemoryMB("1 MB024 MB"), 1024);
    EXPECT_EQ(control::requirements::RequiredMemoryMB("64MB"), 64);
    EXPECT_EQ(control::requirements::RequiredMemoryMB("any"), 0);
    EXPECT_EQ(control::requirements::RequiredMemoryMB("Any "), 0);
    EXPECT_EQ(control::requirements::RequiredMemoryMB(""), 0);
}

TEST(RequirementRules, InstalledMemoryIsWholeMegabytesPlusOne) {
    EXPECT_EQ(control::requirements::InstalledMemoryMB(0), 1);
    EXPECT_EQ(control::requirements::InstalledMemoryMB(133798297), 128);  // 127.6 MB
    EXPECT_EQ(control::requirements::InstalledMemoryMB(128ull << 20), 129);
    EXPECT_EQ(control::requirements::InstalledMemoryMB((128ull << 20) - 1), 128);
    EXPECT_EQ(control::requirements::InstalledMemoryMB(0xFFFFFFFFull), 4096);
    EXPECT_EQ(control::requirements::InstalledMemoryMB(64ull << 30), 65537);
}

TEST(RequirementRules, RequiredScreen) {
    EXPECT_FALSE(control::requirements::RequiredScreen("checkSCREEN").has_value());
    EXPECT_FALSE(control::requirements::RequiredScreen("Any resolution").has_value());
    auto s = control::requirements::RequiredScreen("800x600");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width, 800);
    EXPECT_EQ(s->height, 600);
    s = control::requirements::RequiredScreen("1024");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width, 0);
    EXPECT_EQ(s->height, 1024);
    s = control::requirements::RequiredScreen("1024X768");  // upper-case X is no separator
    EXPECT_EQ(s->width, 0);
    EXPECT_EQ(s->height, 1024);
    s = control::requirements::RequiredScreen("640x480x16");
    EXPECT_EQ(s->width, 640);
    EXPECT_EQ(s->height, 480);
    s = control::requirements::RequiredScreen("800 x 600");
    EXPECT_EQ(s->width, 800);
    EXPECT_EQ(s->height, 600);
}

TEST(RequirementRules, RequiredColourDepth) {
    EXPECT_FALSE(control::requirements::RequiredBitsPerPixel("Any colors").has_value());
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("32bit colors"), 32);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("24bit colors"), 24);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("65.636 colors"), 16);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("256 colors"), 8);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("16bit colors"), 0);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel("65.536 colors"), 0);
    EXPECT_EQ(control::requirements::RequiredBitsPerPixel(""), 0);
}

TEST(RequirementRules, ProcessorRequirementIsACaseSensitiveSubstring) {
    using control::requirements::ProcessorAllowed;
    for (const char* name : {"INTEL Pentium Pro", "INTEL Pentium II Klamath",
                             "INTEL Pentium III Katmai", "INTEL Pentium IV (0.13 \xB5m)"})
        EXPECT_TRUE(ProcessorAllowed("INTEL Pentium", std::string(name))) << name;
    EXPECT_FALSE(ProcessorAllowed("INTEL Pentium", std::string("INTEL Celeron Mendocino")));
    EXPECT_TRUE(ProcessorAllowed("AMD Athlon", std::string("AMD Athlon 64")));
    EXPECT_FALSE(ProcessorAllowed("AMD Athlon", std::string("AMD Duron")));
    EXPECT_FALSE(ProcessorAllowed("intel pentium", std::string("INTEL Pentium Pro")));
    EXPECT_TRUE(ProcessorAllowed("All Processors", std::string("unknown")));
    // Identification failed: passes whatever is required.
    EXPECT_TRUE(ProcessorAllowed("INTEL Pentium", std::nullopt));
    // An empty requirement occurs in every name.
    EXPECT_TRUE(ProcessorAllowed("", std::string("unknown")));
}

TEST(RequirementRules, ItemFilter) {
    using control::requirements::ItemSystemAllowed;
    const char* kNames[] = {"NET", "XP", "2000", "NT4", "ME", "98SE", "98"};
    for (int bit = 0; bit < 7; ++bit) {
        for (int other = 0; other < 7; ++other) {
            EXPECT_EQ(ItemSystemAllowed(1 << bit, kNames[other]), bit == other)
                << (1 << bit) << " " << kNames[other];
            EXPECT_EQ(ItemSystemAllowed(127 & ~(1 << bit), kNames[other]), bit != other);
        }
    }
    for (const char* name : kNames) {
        EXPECT_TRUE(ItemSystemAllowed(127, name));
        EXPECT_FALSE(ItemSystemAllowed(0, name));
    }
    EXPECT_TRUE(ItemSystemAllowed(0, ""));
    EXPECT_TRUE(ItemSystemAllowed(0, "Vista"));
}

TEST(RequirementRules, NoSystemSectionFailsTheOperatingSystemCheck) {
    control::requirements::RequirementValues r;  // everything empty
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, SampleMachine()),
              RequirementFailure::OperatingSystem);
    // Past the system check, empty values require nothing.
    r.os = AllYes();
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, SampleMachine()), RequirementFailure::None);
}

TEST(RequirementRules, LaterNtSystemsPassWhereNetIsAllowed) {
    control::requirements::MachineFacts m = SampleMachine();
    control::requirements::RequirementValues r = NoRequirements();
    // The oldest systems dropped: "2000", "XP" and "NET" allowed.
    r.os = {"", "", "", "", "Yes", "Yes", "Yes"};
    for (const auto& v : {kVista, Version(6, 1, 7601, control::kPlatformNT), Version(10, 0, 19045, control::kPlatformNT)}) {
        m.version = v;
        EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None) << v.major;
    }
    // Without "NET" a later system is refused; a later non-NT version is never "NET".
    r.os[6] = "No";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::OperatingSystem);
    r.os = {"Yes", "", "", "", "", "", "Yes"};
    m.version = Version(6, 1, 7601, 1);
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::OperatingSystem);
}

TEST(RequirementRules, MemoryCheck) {
    control::requirements::RequirementValues r = NoRequirements();
    control::requirements::MachineFacts m = SampleMachine();
    r.memory = "128 MB";
    m.totalPhysicalBytes = 133798297;  // 127.6 MB
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
    r.memory = "129 MB";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Memory);
}

TEST(RequirementRules, ScreenCheck) {
    control::requirements::RequirementValues r = NoRequirements();
    control::requirements::MachineFacts m = SampleMachine();
    r.screen = "800x600";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
    m.screenWidth = 800;
    m.screenHeight = 480;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Screen);
    m.screenWidth = 799;
    m.screenHeight = 600;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Screen);
    r.screen = "checkSCREEN";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
    r.screen = "700";  // width 0, height 700
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Screen);
}

TEST(RequirementRules, ColourCheck) {
    control::requirements::RequirementValues r = NoRequirements();
    control::requirements::MachineFacts m = SampleMachine();
    m.bitsPerPixel = 8;
    r.colors = "65.636 colors";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Colors);
    m.bitsPerPixel = 16;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
    m.bitsPerPixel = 1;
    r.colors = "16bit colors";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
}

TEST(RequirementRules, ProcessorCheck) {
    control::requirements::RequirementValues r = NoRequirements();
    control::requirements::MachineFacts m = SampleMachine();
    r.processor = "INTEL Pentium";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
    m.processorName = "INTEL Celeron Mendocino";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Processor);
    m.processorName = std::nullopt;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
}

TEST(RequirementRules, FirstFailureInOrder) {
    control::requirements::RequirementValues r;
    r.os = {"Yes", "", "", "", "", "", ""};  // 98 only
    r.memory = "4096 MB";
    r.screen = "1600x1200";
    r.colors = "32bit colors";
    r.processor = "AMD Athlon";
    control::requirements::MachineFacts m = SampleMachine();
    m.bitsPerPixel = 16;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::OperatingSystem);
    m.version = k98;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Memory);
    m.totalPhysicalBytes = 4096ull << 20;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Screen);
    m.screenWidth = 1600;
    m.screenHeight = 1200;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Colors);
    m.bitsPerPixel = 32;
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::Processor);
    m.processorName = "AMD Athlon Barton";
    EXPECT_EQ(control::requirements::FirstFailedRequirement(r, m), RequirementFailure::None);
}

}  // namespace

// cvpack list: a folder built from the sample project read back, and the
// cabinet directory reader's checks against truncated and damaged bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "CabinetDirectory.h"
#include "ContainerTool.h"
#include "PackageListing.h"
#include "ProjectBuilder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

template <typename F>
std::string ErrorOf(F operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no error";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The sample project, with a web item and a file for two systems added and
// the oldest systems refused, built into a package.
class CvpackList : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("cvpack-list-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        m_project = m_root / "project";
        m_package = m_root / "package";
        fs::copy(fs::path(CV_SOURCE_DIR) / ".." / "examples" / "sample", m_project, fs::copy_options::recursive);
        std::ofstream(m_project / "data.inf", std::ios::binary | std::ios::app)
            << "http://example.com/extras.zip{WantExtras}\r\n"
               "Destination Computer\\<InstallDir>\\extras\\*288*192*6|Extras\r\n";
        std::string settings = ReadAll(m_project / "setup.inf");
        for (const char* refused : {"os0=Yes", "os1=Yes", "os2=Yes", "os3=Yes"})
            settings.replace(settings.find(refused), 7, std::string(refused, 4) + "No ");
        WriteAll(m_project / "setup.inf", settings);
        BuildProject(m_project.string(), m_package.string(), BuildOptions());
    }
    void TearDown() override { fs::remove_all(m_root); }

    uint64_t PayloadSize(const char* name) const { return fs::file_size(m_project / "payload" / name); }

    fs::path m_root, m_project, m_package;
};

TEST_F(CvpackList, ShowsTheSettingsAndEveryFileAsInstalled) {
    const PackageListing listing = ReadPackage(m_package.string(), 1252);
    EXPECT_EQ(listing.productName, "Corvane Notes");
    EXPECT_EQ(listing.productVersion, "1.4.2");
    EXPECT_EQ(listing.productCode, "{7D3C2F1A-5B84-4E0F-9A61-2C8E5D4B7A90}");
    EXPECT_EQ(listing.pages, (std::vector<std::string>{"welcome.lcd", "license.lcd", "customer.lcd",
                                                       "destination.lcd", "setuptype.lcd", "customsetup.lcd",
                                                       "ready.lcd", "progress.lcd", "complete.lcd"}));
    EXPECT_EQ(listing.systems, (std::vector<std::string>{"2000", "XP", "NET"}));

    const std::string text = FormatPackageListing(listing);
    const std::string expected =
        "Product name:    Corvane Notes\n"
        "Product version: 1.4.2\n"
        "Product code:    {7D3C2F1A-5B84-4E0F-9A61-2C8E5D4B7A90}\n"
        "Pages:           welcome.lcd, license.lcd, customer.lcd, destination.lcd, setuptype.lcd, "
        "customsetup.lcd, ready.lcd, progress.lcd, complete.lcd\n"
        "Systems:         2000, XP, NET\n"
        "Files:           6\n"
        "  <InstallDir>\\readme.txt\n"
        "    size: " + std::to_string(PayloadSize("readme.txt")) +
        " bytes; flags: 0 (none); systems: 0 (all); feature: Program Files\n"
        "  <InstallDir>\\notes.txt\n"
        "    size: " + std::to_string(PayloadSize("notes.txt")) +
        " bytes; flags: 0 (none); systems: 0 (all); feature: Program Files\n"
        "  <InstallDir>\\notes.ini\n"
        "    size: " + std::to_string(PayloadSize("notes.ini")) +
        " bytes; flags: 32 (only-if-absent); systems: 0 (all); feature: Program Files\n"
        "  <InstallDir>\\docs\\guide.txt\n"
        "    size: " + std::to_string(PayloadSize("docs/guide.txt")) +
        " bytes; flags: 1 (read-only); systems: 0 (all); feature: Documentation\n"
        "  <NotesFolder>\\welcome.txt\n"
        "    size: " + std::to_string(PayloadSize("welcome.txt")) +
        " bytes; flags: 32 (only-if-absent); systems: 0 (all); feature: Program Files\n"
        "  <InstallDir>\\extras\\extras.zip\n"
        "    web item: http://example.com/extras.zip; flags: 288 (only-if-absent, expand-content); "
        "systems: 192 (XP, NET); feature: Extras\n";
    EXPECT_EQ(text, expected);
}

TEST_F(CvpackList, NamesOfFlagsAndSystems) {
    EXPECT_EQ(FlagNames(0), "none");
    EXPECT_EQ(FlagNames(3), "read-only");
    EXPECT_EQ(FlagNames(4 | 8 | 16 | 64 | 128), "hidden, system, critical, permanent, self-register");
    EXPECT_EQ(FlagNames(1024 | 1), "read-only, unknown bits 1024");
    EXPECT_EQ(SystemMaskNames(255), "all");
    EXPECT_EQ(SystemMaskNames(3), "all");
    EXPECT_EQ(SystemMaskNames(2 | 4 | 8 | 16 | 32), "98, 98SE, ME, NT4, 2000");
    EXPECT_EQ(SystemMaskNames(256), "none");
}

TEST_F(CvpackList, DamagedPackagesAreRefusedWithTheFileNamed) {
    const fs::path cabinet = m_package / "file1.cab";
    const std::string whole = ReadAll(cabinet);
    // Cut short: the header says how long the cabinet is.
    WriteAll(cabinet, whole.substr(0, whole.size() / 2));
    std::string error = ErrorOf([&] { ReadPackage(m_package.string(), 1252); });
    EXPECT_TRUE(Contains(error, "file1.cab: truncated: the header gives")) << error;
    // Cut inside the header.
    WriteAll(cabinet, whole.substr(0, 20));
    error = ErrorOf([&] { ReadPackage(m_package.string(), 1252); });
    EXPECT_TRUE(Contains(error, "file1.cab: truncated")) << error;
    WriteAll(cabinet, whole);

    // A container of another key or no container at all: the cipher's message.
    WriteAll(m_package / "data.nsx", ReadAll(m_project / "data.inf"));
    error = ErrorOf([&] { ReadPackage(m_package.string(), 1252); });
    EXPECT_TRUE(Contains(error, "data.nsx cannot be Correctly Decrypted")) << error;
    fs::remove(m_package / "setup.nsx");
    error = ErrorOf([&] { ReadPackage(m_package.string(), 1252); });
    EXPECT_TRUE(Contains(error, "setup.nsx: cannot read")) << error;
}

TEST_F(CvpackList, ARecordTheCabinetLacksIsAnError) {
    // The list of another project: its second record names a file this cabinet does not hold.
    WriteAll(m_root / "other.inf", "payload/readme.txt\r\nD\\*0*0*1|\r\npayload/gone.txt\r\nD\\*0*0*2|\r\n");
    EncryptProjectFile((m_root / "other.inf").string(), (m_package / "data.nsx").string());
    const std::string error = ErrorOf([&] { ReadPackage(m_package.string(), 1252); });
    EXPECT_TRUE(Contains(error, "file1.cab: holds no F1_gone.txt (data.nsx record 2)")) << error;
}

// ---- The cabinet directory reader -------------------------------------------

// A cabinet directory written by hand: the header (optionally with reserved
// areas), one folder and the named files, then `dataBytes` bytes standing for
// the data.
struct HandMadeCabinet {
    bool reserve = false;
    std::vector<std::pair<std::string, uint16_t>> files;  // name, folder index
    size_t dataBytes = 8;

    static void Put16(std::string& s, size_t at, uint32_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
    }
    static void Put32(std::string& s, size_t at, uint32_t v) {
        Put16(s, at, v & 0xFFFF);
        Put16(s, at + 2, v >> 16);
    }

    std::string Bytes() const {
        std::string s(36, '\0');
        s.replace(0, 4, "MSCF");
        s[24] = 3, s[25] = 1;
        Put16(s, 26, 1);
        Put16(s, 28, static_cast<uint32_t>(files.size()));
        Put16(s, 30, reserve ? 4 : 0);
        if (reserve) s += std::string("\x05\x00\x02\x00", 4) + std::string(5, 'r');
        const size_t folder = s.size();
        s += std::string(8, '\0') + (reserve ? std::string(2, 'f') : "");
        Put16(s, folder + 6, 1);  // MSZIP
        Put32(s, 16, static_cast<uint32_t>(s.size()));
        uint32_t size = 100;
        for (const auto& file : files) {
            std::string entry(16, '\0');
            Put32(entry, 0, size++);
            Put16(entry, 8, file.second);
            Put16(entry, 14, 0x20);
            s += entry + file.first + '\0';
        }
        Put32(s, folder, static_cast<uint32_t>(s.size()));
        s += std::string(dataBytes, 'd');
        Put32(s, 8, static_cast<uint32_t>(s.size()));
        return s;
    }
};

TEST(CabinetDirectory, ReadsNamesSizesAndFolders) {
    for (bool reserve : {false, true}) {
        HandMadeCabinet cab;
        cab.reserve = reserve;
        cab.files = {{"F0_a.txt", 0}, {"license.rtf", 0}};
        const std::string bytes = cab.Bytes();
        const CabinetDirectory d = ParseCabinetDirectory(bytes, bytes.size());
        EXPECT_EQ(d.cabinetSize, bytes.size());
        EXPECT_EQ(d.folderTypes, std::vector<uint16_t>{1});
        ASSERT_EQ(d.files.size(), 2u);
        EXPECT_EQ(d.files[0].name, "F0_a.txt");
        EXPECT_EQ(d.files[0].size, 100u);
        EXPECT_EQ(d.files[1].name, "license.rtf");
        EXPECT_EQ(d.files[1].size, 101u);
        EXPECT_EQ(d.files[1].attributes, 0x20);
    }
    // An empty cabinet's entries and data begin at its very end.
    HandMadeCabinet empty;
    empty.dataBytes = 0;
    const std::string bytes = empty.Bytes();
    EXPECT_TRUE(ParseCabinetDirectory(bytes, bytes.size()).files.empty());
}

TEST(CabinetDirectory, EveryCutAndDamageIsAnErrorNeverAReadPastTheEnd) {
    HandMadeCabinet cab;
    cab.reserve = true;
    cab.files = {{"F0_a.txt", 0}, {"b.bin", 0}};
    const std::string bytes = cab.Bytes();
    // Every prefix, as the whole file and as a prefix of a longer one.
    for (size_t cut = 0; cut < bytes.size() - cab.dataBytes; ++cut) {
        const std::string part = bytes.substr(0, cut);
        EXPECT_THROW(ParseCabinetDirectory(part, part.size()), CabinetDirectoryError) << cut;
        EXPECT_THROW(ParseCabinetDirectory(part, bytes.size()), CabinetDirectoryError) << cut;
    }
    // Every byte of the directory changed: read or refused, nothing else.
    for (size_t at = 0; at < bytes.size() - cab.dataBytes; ++at)
        for (unsigned char value : {0x00, 0x7F, 0xFF}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(value);
            try {
                ParseCabinetDirectory(damaged, damaged.size());
            } catch (const CabinetDirectoryError&) {
            }
        }
    EXPECT_TRUE(Contains(ErrorOf([] { ParseCabinetDirectory("PK\x03\x04 not a cabinet", 20); }),
                         "not a cabinet"));
}

TEST(CabinetDirectory, EntriesOutsideTheCabinetAreRefused) {
    HandMadeCabinet cab;
    cab.files = {{"F0_a.txt", 1}};
    std::string bytes = cab.Bytes();
    EXPECT_TRUE(Contains(ErrorOf([&] { ParseCabinetDirectory(bytes, bytes.size()); }), "folder 1 does not exist"));
    cab.files = {{"F0_a.txt", 0xFFFD}};
    bytes = cab.Bytes();
    EXPECT_TRUE(Contains(ErrorOf([&] { ParseCabinetDirectory(bytes, bytes.size()); }), "another cabinet"));
    // A name running into the data without its terminating zero.
    cab.files = {{std::string(300, 'n'), 0}};
    bytes = cab.Bytes();
    EXPECT_TRUE(Contains(ErrorOf([&] { ParseCabinetDirectory(bytes, bytes.size()); }), "unterminated file name"));
}

}  // namespace

// cvpack writes the product's name, version and icon into a shipped
// setup.exe: the resource writer on a small program laid out like the
// engine, and on the real engine when a Windows build is at hand, read back
// by our reader and by wrestool and objdump; inputs it must refuse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EngineStamp.h"
#include "IconFile.h"
#include "PeImage.h"
#include "TinyEngine.h"
#include "VersionResource.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Output(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    status = pclose(pipe);
    return out;
}

bool Have(const char* tool) {
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

// The text of a string value of a version resource: found by its key in
// UTF-16, after the padding to a 4-byte boundary.
std::string VersionText(const std::string& resource, const std::string& key) {
    std::string wideKey;
    for (char c : key + '\0') wideKey += c, wideKey += '\0';
    size_t at = resource.find(wideKey);
    if (at == std::string::npos) return "<absent>";
    at += wideKey.size();
    at = (at + 3) & ~size_t(3);
    std::string text;
    for (; at + 1 < resource.size() && (resource[at] || resource[at + 1]); at += 2) text += resource[at];
    return text;
}

// A two-picture icon file (48 and 24 pixels), bitmaps of no real picture:
// only their sizes and bytes matter here.
std::string TwoPictureIcon() {
    std::string file;
    le::Append16(file, 0), le::Append16(file, 1), le::Append16(file, 2);
    std::string pictures[2];
    const uint8_t sizes[2] = {48, 24};
    size_t offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        pictures[i].assign(40 + 16 * (i + 1), static_cast<char>('a' + i));
        le::Put32(pictures[i], 0, 40);
        file += static_cast<char>(sizes[i]), file += static_cast<char>(sizes[i]);
        file += std::string(2, '\0');
        le::Append16(file, 1), le::Append16(file, 32);
        le::Append32(file, static_cast<uint32_t>(pictures[i].size())), le::Append32(file, static_cast<uint32_t>(offset));
        offset += pictures[i].size();
    }
    return file + pictures[0] + pictures[1];
}

const pe::Resource* Find(const std::vector<pe::Resource>& resources, uint16_t type, uint16_t name) {
    for (const pe::Resource& r : resources)
        if (pe::IsType(r, type) && !r.name.IsText() && r.name.id == name) return &r;
    return nullptr;
}

std::vector<pe::Resource> ResourcesOf(const std::string& program) {
    const pe::Image image(program);
    return pe::ReadResources(image.ResourceBytes(), image.ResourceRva());
}

class EngineStamp : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("cvpack-stamp-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        WriteAll(dir_ / "product.ico", TwoPictureIcon());
        identity_.productName = u"Corvane Notes \u00DC";
        identity_.productVersion = u"1.4.2 beta";
        identity_.publisher = u"Brenmark Software";
        identity_.copyright = u"(c) 2026 Brenmark";
        identity_.icon = dir_ / "product.ico";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string StampError(const std::string& bytes) {
        WriteAll(dir_ / "setup.exe", bytes);
        try {
            StampEngine((dir_ / "setup.exe").string(), identity_);
        } catch (const std::exception& e) {
            EXPECT_EQ(ReadAll(dir_ / "setup.exe"), bytes) << "a refused engine is left as it was";
            return e.what();
        }
        return "stamped";
    }

    fs::path dir_;
    ProductIdentity identity_;
};

TEST(VersionNumbers, PartsBetweenDotsAndZeroForWhatIsNoNumber) {
    EXPECT_EQ(version::Numbers("1.4.2"), (std::array<uint16_t, 4>{1, 4, 2, 0}));
    EXPECT_EQ(version::Numbers("2.0 beta.7.9.9"), (std::array<uint16_t, 4>{2, 0, 7, 9}));
    EXPECT_EQ(version::Numbers("70000.1..65535"), (std::array<uint16_t, 4>{0, 1, 0, 65535}));
    EXPECT_EQ(version::Numbers(""), (std::array<uint16_t, 4>{0, 0, 0, 0}));
}

// The values as the setup reads them: in the code page, at most 254 bytes;
// the icon by its path in the project folder.
TEST(ProductIdentity, ReadFromTheSettingsInTheirCodePage) {
    SourceText settings;
    settings.shipped = "[APPINFO]\r\na1=Notizbl\xF6" "cke\r\na2=1.0\r\na19=" + std::string(300, 'x') +
                       "\r\nCopyright=(c) Brenmark\r\nSetupIcon=art\\notes.ico\r\n";
    settings.written = settings.shipped;
    const ProductIdentity identity = ReadProductIdentity(settings, "/project", 1252);
    EXPECT_EQ(identity.productName, u"Notizbl\u00F6" "cke");
    EXPECT_EQ(identity.productVersion, u"1.0");
    EXPECT_EQ(identity.publisher, std::u16string(254, u'x'));
    EXPECT_EQ(identity.copyright, u"(c) Brenmark");
    EXPECT_EQ(identity.icon, fs::path("/project/art/notes.ico"));

    settings.shipped = "[APPINFO]\r\na1=\x83\r\n";  // a lead byte of code page 932 and nothing after it
    try {
        ReadProductIdentity(settings, "/project", 932);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "setup.inf: [APPINFO] a1 is no text of code page 932");
    }
    settings.shipped = "[APPINFO]\r\na1=\x83\x5C\r\n";  // one character whose second byte is a backslash
    EXPECT_EQ(ReadProductIdentity(settings, "/project", 932).productName, u"\u30BD");
}

TEST_F(EngineStamp, WritesVersionAndIconAndKeepsTheRest) {
    const std::vector<pe::Resource> before = tinyengine::Resources("kept bytes");
    WriteAll(dir_ / "setup.exe", tinyengine::Build(before));
    StampEngine((dir_ / "setup.exe").string(), identity_);
    const std::vector<pe::Resource> after = ResourcesOf(ReadAll(dir_ / "setup.exe"));

    const pe::Resource* version = Find(after, pe::kVersion, 1);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->data, ProductVersionResource(identity_));
    EXPECT_EQ(VersionText(version->data, "ProductName"), "Corvane Notes \xDC");
    EXPECT_EQ(VersionText(version->data, "FileDescription"), "Corvane Notes \xDC Setup");
    EXPECT_EQ(VersionText(version->data, "CompanyName"), "Brenmark Software");
    EXPECT_EQ(VersionText(version->data, "FileVersion"), "1.4.2 beta");
    EXPECT_EQ(VersionText(version->data, "LegalCopyright"), "(c) 2026 Brenmark");
    EXPECT_EQ(VersionText(version->data, "OriginalFilename"), "setup.exe");

    // The application group lists the two new icons, numbered above the page's.
    const pe::Resource* group = Find(after, pe::kGroupIcon, 1);
    ASSERT_TRUE(group);
    EXPECT_EQ(ico::GroupMembers(group->data), (std::vector<uint16_t>{3, 4}));
    const std::vector<ico::Picture> pictures = ico::ParseIcon(TwoPictureIcon());
    ASSERT_TRUE(Find(after, pe::kIcon, 3) && Find(after, pe::kIcon, 4));
    EXPECT_EQ(Find(after, pe::kIcon, 3)->data, pictures[0].data);
    EXPECT_EQ(Find(after, pe::kIcon, 4)->data, pictures[1].data);
    EXPECT_FALSE(Find(after, pe::kIcon, 1)) << "the old application icon is gone";
    EXPECT_EQ(Find(after, pe::kIcon, 2)->data, Find(before, pe::kIcon, 2)->data);
    EXPECT_EQ(Find(after, pe::kGroupIcon, 5)->data, Find(before, pe::kGroupIcon, 5)->data);
    EXPECT_EQ(Find(after, 10, 7)->data, "kept bytes");
    EXPECT_EQ(after.size(), before.size() + 1);
}

TEST_F(EngineStamp, NoPublisherNoCopyrightNoIcon) {
    identity_.publisher.clear();
    identity_.copyright.clear();
    identity_.icon.clear();
    const std::vector<pe::Resource> before = tinyengine::Resources("x");
    WriteAll(dir_ / "setup.exe", tinyengine::Build(before));
    StampEngine((dir_ / "setup.exe").string(), identity_);
    const std::vector<pe::Resource> after = ResourcesOf(ReadAll(dir_ / "setup.exe"));
    const std::string version = Find(after, pe::kVersion, 1)->data;
    EXPECT_EQ(VersionText(version, "CompanyName"), "<absent>");
    EXPECT_EQ(VersionText(version, "LegalCopyright"), "<absent>");
    EXPECT_EQ(Find(after, pe::kGroupIcon, 1)->data, Find(before, pe::kGroupIcon, 1)->data);
    EXPECT_EQ(Find(after, pe::kIcon, 1)->data, Find(before, pe::kIcon, 1)->data);
}

// Each is refused with its reason and the file is left as it was.
TEST_F(EngineStamp, RefusesWhatIsNoEngineItCanStamp) {
    const std::string engine = tinyengine::Build(tinyengine::Resources("x"));
    EXPECT_NE(StampError("plain text, no program").find("not a Windows program"), std::string::npos);
    EXPECT_NE(StampError(engine.substr(0, 0x150)).find("truncated"), std::string::npos);
    EXPECT_NE(StampError(engine.substr(0, engine.size() - 0x100)).find("truncated"), std::string::npos);
    std::string pe32 = engine;
    le::Put16(pe32, tinyengine::kOptionalHeader, 0x10B);
    EXPECT_NE(StampError(pe32).find("a 32-bit program (PE32)"), std::string::npos);
    EXPECT_NE(StampError(engine + "appended").find("appended data: 8 bytes"), std::string::npos);
    std::string signed_ = engine;
    le::Put32(signed_, tinyengine::kOptionalHeader + 112 + 4 * 8, 0x2000);
    le::Put32(signed_, tinyengine::kOptionalHeader + 112 + 4 * 8 + 4, 0x10);
    EXPECT_NE(StampError(signed_ + std::string(0x10, 'c')).find("certificate table"), std::string::npos);
    std::string noResources = engine;
    le::Put32(noResources, tinyengine::kOptionalHeader + 112 + 2 * 8, 0);
    EXPECT_NE(StampError(noResources).find("no resource section"), std::string::npos);
    std::string badTree = engine;
    le::Put32(badTree, 0x400 + 16 + 4, 0x80000000u | 0x7FFFFFF0u);  // first type's directory far outside
    EXPECT_NE(StampError(badTree).find("resource section: "), std::string::npos);
    WriteAll(dir_ / "product.ico", "not an icon");
    EXPECT_NE(StampError(engine).find("product.ico: not an icon file"), std::string::npos);
}

// The engine the Windows build made, when there is one.
fs::path BuiltEngine() {
    const char* win = std::getenv("CV_WIN");
    const fs::path tree = win ? fs::path(win) : fs::path(CV_SOURCE_DIR) / ".." / "build" / "win";
    return tree / "src" / "setup.exe";
}

TEST_F(EngineStamp, TheBuiltEngineReadsBackWithIndependentTools) {
    const fs::path engine = BuiltEngine();
    if (!fs::is_regular_file(engine)) GTEST_SKIP() << "no Windows build at " << engine;
    const std::string original = ReadAll(engine);
    const fs::path stamped = dir_ / "setup.exe";
    WriteAll(stamped, original);
    StampEngine(stamped.string(), identity_);
    const std::vector<pe::Resource> before = ResourcesOf(original), after = ResourcesOf(ReadAll(stamped));

    // Every resource but the version, the application group and its icons, byte for byte.
    const pe::Resource* application = Find(before, pe::kGroupIcon, 1);
    ASSERT_TRUE(application) << "the engine's own icon is group 1, the first";
    const std::vector<uint16_t> oldIcons = ico::GroupMembers(application->data);
    size_t kept = 0;
    for (const pe::Resource& r : before) {
        const bool replaced = pe::IsType(r, pe::kVersion) || (pe::IsType(r, pe::kGroupIcon) && r.name.id == 1) ||
                              (pe::IsType(r, pe::kIcon) && std::count(oldIcons.begin(), oldIcons.end(), r.name.id));
        if (replaced) continue;
        const pe::Resource* now = r.name.IsText() ? nullptr : Find(after, r.type.id, r.name.id);
        ASSERT_TRUE(now) << "type " << r.type.id << " name " << r.name.id;
        EXPECT_EQ(now->data, r.data) << "type " << r.type.id << " name " << r.name.id;
        ++kept;
    }
    EXPECT_GT(kept, 10u);

    int status = 0;
    const std::string dump = Output("x86_64-w64-mingw32-objdump -p '" + stamped.string() + "' 2>&1", status);
    if (Have("x86_64-w64-mingw32-objdump")) {
        EXPECT_EQ(status, 0) << dump;
        EXPECT_NE(dump.find("Resource Directory [.rsrc]"), std::string::npos) << dump;
        EXPECT_NE(dump.find("Base Relocation Directory [.reloc]"), std::string::npos) << dump;
    }
    if (!Have("wrestool")) GTEST_SKIP() << "wrestool (icoutils) not installed";
    const std::string s = "'" + stamped.string() + "'", o = "'" + engine.string() + "'";
    EXPECT_EQ(Output("wrestool -x --raw --type=16 " + s, status), ProductVersionResource(identity_));
    for (const char* dialog : {"100", "110", "200", "240", "300"})
        EXPECT_EQ(Output(std::string("wrestool -x --raw --type=5 --name=") + dialog + " " + s, status),
                  Output(std::string("wrestool -x --raw --type=5 --name=") + dialog + " " + o, status));
    EXPECT_EQ(Output("wrestool -x --raw --type=24 " + s, status), Output("wrestool -x --raw --type=24 " + o, status));
    // The application icon as an icon file: the project's two pictures
    // (wrestool pads these pictures, which are no real bitmaps, with zeros).
    const std::string icon = Output("wrestool -x --type=14 --name=1 " + s, status);
    EXPECT_EQ(icon.substr(0, TwoPictureIcon().size()), TwoPictureIcon());
}

}  // namespace

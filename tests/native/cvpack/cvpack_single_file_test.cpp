// The single file: cvpack's writer and the setup's reader of the package
// block (core/PackageBlock.h) against each other, and every refusal of a
// damaged or hostile file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>

#include "SingleFile.h"
#include "core/Crc32c.h"
#include "core/PackageBlock.h"
#include "core/PackageLocation.h"
#include "core/PeImage.h"

namespace fs = std::filesystem;
namespace block = core::packageblock;

namespace {

constexpr unsigned kWestern = 1252, kJapanese = 932;

class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("cvpack-single-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

void Put(std::string& bytes, size_t at, uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The smallest program file the rules accept: headers, one 512-byte section
// and, like the engine the linker makes, a symbol table and its string table
// after it (`strings` bytes, odd, so the image ends off the 8-byte grid).
std::string Program(size_t strings = 13) {
    std::string p(0x400, '\0');
    p[0] = 'M';
    p[1] = 'Z';
    Put(p, 0x3C, 0x40, 4);
    std::memcpy(&p[0x40], "PE\0\0", 4);
    const size_t file = 0x44, optional = file + 20;
    Put(p, file, 0x8664, 2);
    Put(p, file + 2, 1, 2);      // sections
    Put(p, file + 16, 240, 2);   // optional header size
    Put(p, optional, 0x20B, 2);  // PE32+
    Put(p, optional + 60, 0x200, 4);
    Put(p, optional + 108, 16, 4);  // data directories
    const size_t section = optional + 240;
    Put(p, section + 16, 0x200, 4);
    Put(p, section + 20, 0x200, 4);
    if (strings > 0) {
        Put(p, file + 8, p.size(), 4);  // symbol table
        Put(p, file + 12, 2, 4);        // two symbols
        p += std::string(36, 's');
        std::string table(strings, 't');
        Put(table, 0, strings, 4);
        p += table;
    }
    return p;
}

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::map<std::string, std::string> kPackage = {
    {"setup.nsx", "settings"},
    {"data.nsx", "data"},
    {"file1.cab", std::string(100000, 'c') + "end"},
    {"empty.txt", ""},
    {"theme\\welcome.lcd", "layout"},
    {"SupportFiles\\tools\\tool one.exe", "tool"},
};

// A packed folder with kPackage's files beside `engine`, made into a single file.
std::string SingleFile(const TempFolder& temp, const std::string& engine = Program()) {
    const fs::path dir = temp.Path() / "package";
    WriteFile(dir / "setup.exe", engine);
    for (const auto& [path, content] : kPackage) {
        std::string native = path;
        std::replace(native.begin(), native.end(), '\\', '/');
        WriteFile(dir / native, content);
    }
    WriteSingleFile(dir.string(), (temp.Path() / "single.exe").string(), kWestern);
    return ReadFile(temp.Path() / "single.exe");
}

struct Look {
    core::pe::Layout layout;
    uint64_t imageEnd = 0;
    block::Found found;
};

// The file, read at offsets as the setup reads its own.
class MemoryFile : public block::RandomSource {
public:
    explicit MemoryFile(const std::string& bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, unsigned char* data, size_t size) override {
        if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
        std::memcpy(data, bytes_.data() + offset, size);
        return true;
    }

private:
    const std::string& bytes_;
};

// What the setup finds at the end of `file`, as it reads its own file.
Look LookAt(const std::string& file) {
    Look look;
    MemoryFile source(file);
    look.found = block::LocateBlock(source, look.layout);
    if (look.found.kind != block::Found::kDamaged || look.found.trailerFound) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
        const uint64_t strings = core::pe::StringTableOffset(look.layout);
        uint32_t stringsSize = 0;
        if (strings) std::memcpy(&stringsSize, bytes + strings, 4);
        look.imageEnd = core::pe::ImageEnd(look.layout, stringsSize);
    }
    return look;
}

class MemorySource : public block::Source {
public:
    MemorySource(const std::string& bytes, uint64_t from) : bytes_(bytes), at_(from) {}
    bool Read(unsigned char* data, size_t size) override {
        if (size > bytes_.size() - std::min<uint64_t>(at_, bytes_.size())) return false;
        std::memcpy(data, bytes_.data() + at_, size);
        at_ += size;
        return true;
    }

private:
    const std::string& bytes_;
    uint64_t at_;
};

class MemorySink : public block::Sink {
public:
    std::map<std::string, std::string> files;
    bool Open(const block::Entry& entry) override {
        current_ = &files[entry.path];
        return true;
    }
    bool Write(const unsigned char* data, size_t size) override {
        current_->append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    bool Close() override { return true; }
    bool Progress(uint64_t done, uint64_t total) override { return done <= total; }

private:
    std::string* current_ = nullptr;
};

block::Outcome UnpackFrom(const std::string& file, const block::Trailer& trailer, MemorySink& sink) {
    MemorySource source(file, trailer.blockOffset);
    return block::Unpack(source, trailer, kWestern, sink, 4096);
}

// The outcome of the whole reading: what FindBlock says, then what Unpack says.
std::string Verdict(const std::string& file) {
    const Look look = LookAt(file);
    if (look.found.kind == block::Found::kNone) return "none";
    if (look.found.kind == block::Found::kDamaged) return "damaged: " + look.found.problem;
    MemorySink sink;
    const block::Outcome outcome = UnpackFrom(file, look.found.trailer, sink);
    return outcome.kind == block::Outcome::kUnpacked ? "unpacked" : "damaged: " + outcome.problem;
}

TEST(SingleFile, RoundTripGivesTheEngineAndEveryFileOfThePackage) {
    core::Crc32c check;
    check.Update(reinterpret_cast<const unsigned char*>("123456789"), 9);
    EXPECT_EQ(check.Value(), 0xE3069283u);  // the sum's check value
    // The processor's instruction and the tables agree, over pieces of every length.
    std::string bytes(100000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7919 % 251);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    core::Crc32c pieces;
    for (size_t at = 0, n = 1; at < bytes.size(); at += n, n = n % 13 + 1 + (n > 12 ? 30000 : 0))
        pieces.Update(data + at, std::min(n, bytes.size() - at));
    EXPECT_EQ(pieces.Value(), core::Crc32cByTables(data, bytes.size()));
    core::Crc32c whole;
    whole.Update(data, bytes.size());
    EXPECT_EQ(whole.Value(), core::Crc32cByTables(data, bytes.size()));

    TempFolder temp;
    const std::string engine = Program();
    const std::string file = SingleFile(temp, engine);
    EXPECT_EQ(file.compare(0, engine.size(), engine), 0) << "the engine's bytes come first, unchanged";
    EXPECT_EQ(file.size() % 8, 0u) << "a signature appended later needs no padding";
    const Look look = LookAt(file);
    ASSERT_EQ(look.found.kind, block::Found::kBlock) << look.found.problem;
    EXPECT_EQ(look.found.trailer.blockOffset, engine.size()) << "the block starts where the image ends";
    EXPECT_EQ(look.found.trailer.entryCount, kPackage.size());
    MemorySink sink;
    const block::Outcome outcome = UnpackFrom(file, look.found.trailer, sink);
    ASSERT_EQ(outcome.kind, block::Outcome::kUnpacked) << outcome.problem;
    EXPECT_EQ(sink.files, kPackage);

    // A signature appended after the trailer (the header names it) leaves the block found,
    // as do the zero bytes a signing tool may put before it.
    for (size_t padding : {0, 3, 7}) {
        std::string signedFile = file + std::string(padding, '\0');
        Put(signedFile, look.layout.certificatesEntryOffset, signedFile.size(), 4);
        Put(signedFile, look.layout.certificatesEntryOffset + 4, 24, 4);
        signedFile += std::string(24, 'S');
        EXPECT_EQ(Verdict(signedFile), "unpacked") << padding;
    }
    EXPECT_EQ(Verdict(engine), "none") << "a folder package's engine carries no block";
}

// A repair finds the payload cabinet's bytes in the single file without
// unpacking it; a block without one, or a table that does not read, says so.
TEST(SingleFile, AnEntryIsFoundInPlace) {
    TempFolder temp;
    const std::string file = SingleFile(temp);
    MemoryFile source(file);
    core::pe::Layout layout;
    const block::Found found = block::LocateBlock(source, layout);
    ASSERT_EQ(found.kind, block::Found::kBlock) << found.problem;
    block::Entry entry;
    ASSERT_EQ(block::FindEntry(source, found.trailer, kWestern, "FILE1.CAB", entry), "");
    EXPECT_EQ(file.substr(entry.offset, entry.size), std::string(100000, 'c') + "end");
    EXPECT_EQ(block::FindEntry(source, found.trailer, kWestern, "file2.cab", entry), "no file2.cab in the package");
    std::string broken = file;
    broken[found.trailer.blockOffset] ^= 0x7F;  // the first path's length
    MemoryFile brokenSource(broken);
    EXPECT_NE(block::FindEntry(brokenSource, found.trailer, kWestern, "file1.cab", entry), "");
    const std::string cut = file.substr(0, found.trailer.blockOffset + 3);
    MemoryFile cutSource(cut);
    EXPECT_EQ(block::FindEntry(cutSource, found.trailer, kWestern, "file1.cab", entry), "the file cannot be read");
}

TEST(SingleFile, EveryDamageIsRefused) {
    TempFolder temp;
    const std::string file = SingleFile(temp);
    const Look look = LookAt(file);
    const uint64_t start = look.found.trailer.blockOffset;
    // Cut short anywhere after the image: in the table, the contents, the trailer.
    for (uint64_t cut : {start + 1, start + 20, start + 200, start + 50000, uint64_t(file.size() - 48),
                         uint64_t(file.size() - 1)})
        EXPECT_EQ(Verdict(file.substr(0, cut)).rfind("damaged: ", 0), 0u) << cut;
    // One byte changed anywhere in the block: the table's numbers and names, the contents, the padding.
    for (uint64_t at = start; at < start + look.found.trailer.blockLength; at += (at < start + 400 ? 1 : 997)) {
        std::string flipped = file;
        flipped[at] ^= 0x20;
        EXPECT_EQ(Verdict(flipped).rfind("damaged: ", 0), 0u) << "byte " << at - start;
    }
    // After the trailer: zero bytes up to 7, nothing else.
    EXPECT_EQ(Verdict(file + std::string(7, '\0')), "unpacked");
    EXPECT_EQ(Verdict(file + std::string(8, '\0')).rfind("damaged: ", 0), 0u);
    EXPECT_EQ(Verdict(file + "x").rfind("damaged: ", 0), 0u);
    // A trailer whose numbers do not fit the file.
    const size_t trailerAt = file.size() - block::kTrailerSize;
    auto withTrailer = [&](auto change) {
        block::Trailer t = look.found.trailer;
        change(t);
        return file.substr(0, trailerAt) + block::EncodeTrailer(t);
    };
    const std::map<std::string, std::string> tampered = {
        {"version", withTrailer([](block::Trailer& t) { t.version = 2; })},
        {"offset", withTrailer([](block::Trailer& t) { t.blockOffset += 8; t.blockLength -= 8; })},
        {"length", withTrailer([](block::Trailer& t) { t.blockLength += 1; })},
        {"huge length", withTrailer([](block::Trailer& t) { t.blockLength = ~uint64_t(0); })},
        {"count", withTrailer([](block::Trailer& t) { t.entryCount = block::kMaxEntries + 1; })},
        {"fewer entries", withTrailer([](block::Trailer& t) { t.entryCount -= 1; })},
        {"table", withTrailer([](block::Trailer& t) { t.tableLength = t.blockLength + 1; })},
        {"short table", withTrailer([](block::Trailer& t) { t.tableLength -= 1; })},
        {"sum", withTrailer([](block::Trailer& t) { t.checksum ^= 1; })},
    };
    for (const auto& [what, bytes] : tampered) EXPECT_EQ(Verdict(bytes).rfind("damaged: ", 0), 0u) << what;
    // Data after the image without any trailer; a cut-short trailer is none.
    EXPECT_EQ(Verdict(Program() + "payload").rfind("damaged: ", 0), 0u);
    EXPECT_FALSE(LookAt(Program() + "payload").found.trailerFound);
    EXPECT_FALSE(LookAt(file.substr(0, file.size() - 1)).found.trailerFound);
    EXPECT_TRUE(LookAt(tampered.at("version")).found.trailerFound);
}

TEST(SingleFile, PathsStayInsideTheFolder) {
    for (const char* good : {"setup.nsx", "theme\\welcome.lcd", "SupportFiles\\a b\\tool.exe", "..name", "a.b.c"})
        EXPECT_EQ(block::PathProblem(good, kWestern), "") << good;
    const std::string tooLong(block::kMaxPathLength + 1, 'a');
    for (const std::string& bad :
         {std::string(), std::string("\\root.txt"), std::string("C:\\x.txt"), std::string("file.txt:stream"),
          std::string("a\\\\b"), std::string("a\\"), std::string("..\\x"), std::string("a\\..\\b"),
          std::string(".\\a"), std::string("a."), std::string("a "), std::string("con"),
          std::string("theme\\AUX.txt"), std::string("a/b"), std::string("a\x01"), std::string("a*b"),
          std::string("a\"b"), tooLong})
        EXPECT_NE(block::PathProblem(bad, kWestern), "") << bad;
    // A double-byte character whose second byte is a backslash is one character.
    EXPECT_EQ(block::PathProblem("\x83\x5C\\x", kJapanese), "");
    EXPECT_NE(block::PathProblem("\x83\x5C\\x", kWestern), "");  // "\x83", "", "x"

    // The table: every path checked, none twice in any case, none both a file
    // and a folder, no setup.exe of its own.
    auto table = [](std::initializer_list<const char*> paths) {
        block::Trailer t;
        std::string bytes;
        for (const char* p : paths) bytes += block::EncodeEntry(block::Entry{p, 0});
        t.entryCount = static_cast<uint32_t>(paths.size());
        t.tableLength = bytes.size();
        t.blockOffset = 0x400;
        t.blockLength = bytes.size() + block::PaddingAfter(t.blockOffset + bytes.size());
        std::vector<block::Entry> entries;
        return block::ParseTable(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), t, kWestern,
                                 entries);
    };
    EXPECT_EQ(table({"a.txt", "b\\c.txt", "b\\d.txt"}), "");
    EXPECT_NE(table({"a.txt", "A.TXT"}), "");
    EXPECT_NE(table({"b", "b\\c.txt"}), "");
    EXPECT_NE(table({"Setup.exe"}), "");
    EXPECT_NE(table({"a.txt", "..\\evil.dll"}), "");
}

TEST(SingleFile, CvpackRefusesWhatCannotBecomeOne) {
    TempFolder temp;
    const std::string single = SingleFile(temp);
    auto refusal = [&](const std::string& engine) -> std::string {
        TempFolder other;
        try {
            SingleFile(other, engine);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "written";
    };
    EXPECT_NE(refusal(single).find("error: the engine carries a package block already"), std::string::npos);
    std::string signedEngine = Program();
    Put(signedEngine, LookAt(signedEngine).layout.certificatesEntryOffset, signedEngine.size(), 4);
    Put(signedEngine, LookAt(signedEngine).layout.certificatesEntryOffset + 4, 8, 4);
    EXPECT_NE(refusal(signedEngine + "SIGNATUR").find("error: the engine is signed"), std::string::npos);
    EXPECT_NE(refusal(Program() + "extra").find("error: the engine carries data after"), std::string::npos);
    EXPECT_NE(refusal("not a program").find("error: not a program"), std::string::npos);
    EXPECT_EQ(refusal(Program(0)), "written") << "an engine without symbols";
    EXPECT_FALSE(fs::exists(temp.Path() / "single.exe.tmp")) << "nothing partial left";

    // The engine given to the build is checked before anything is built.
    WriteFile(temp.Path() / "signed.exe", signedEngine + "SIGNATUR");
    EXPECT_THROW(CheckSingleFileEngine((temp.Path() / "signed.exe").string()), std::runtime_error);
    WriteFile(temp.Path() / "plain.exe", Program());
    EXPECT_NO_THROW(CheckSingleFileEngine((temp.Path() / "plain.exe").string()));

    TempFolder none;
    fs::create_directories(none.Path() / "package");
    EXPECT_THROW(WriteSingleFile((none.Path() / "package").string(), (none.Path() / "x.exe").string(), kWestern),
                 std::runtime_error);
    EXPECT_FALSE(fs::exists(none.Path() / "x.exe"));
    EXPECT_TRUE(SingleFileInsideFolder((none.Path() / "out" / "x.exe").string(), (none.Path() / "out").string()));
    EXPECT_FALSE(SingleFileInsideFolder((none.Path() / "x.exe").string(), (none.Path() / "out").string()));
}

}  // namespace

#include "SingleFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

#include "core/Crc32c.h"
#include "core/PackageBlock.h"
#include "core/PeImage.h"

namespace fs = std::filesystem;
namespace block = core::packageblock;

namespace {

constexpr size_t kBufferSize = 4 << 20;

[[noreturn]] void Fail(const std::string& file, const std::string& text) {
    throw std::runtime_error(file + ": error: " + text);
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path.string(), "cannot read");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

uint32_t Le32(const std::string& bytes, uint64_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

// The engine's bytes, checked: a program whose image ends at its end, with
// no block and no signature of its own.
std::string ReadEngine(const fs::path& path) {
    if (!fs::is_regular_file(path)) Fail(path.string(), "no engine (setup.exe) in the package: a single file needs one (use --engine)");
    std::string engine = ReadAll(path);
    const auto* bytes = reinterpret_cast<const unsigned char*>(engine.data());
    core::pe::Layout layout;
    const std::string problem =
        core::pe::ReadLayout(bytes, std::min(engine.size(), core::pe::kHeadBytes), engine.size(), layout);
    if (!problem.empty()) Fail(path.string(), "not a program: " + problem);
    if (layout.certificatesOffset != 0 || layout.certificatesSize != 0)
        Fail(path.string(), "the engine is signed: sign the single file instead, after it is written");
    const uint64_t strings = core::pe::StringTableOffset(layout);
    const uint64_t imageEnd = core::pe::ImageEnd(layout, strings ? Le32(engine, strings) : 0);
    if (imageEnd > engine.size()) Fail(path.string(), "the engine's symbol table runs past its end");
    if (imageEnd != engine.size()) {
        const size_t tail = static_cast<size_t>(
            std::min<uint64_t>(engine.size() - imageEnd, block::kTrailerSize + block::kMaxTrailerPadding));
        const block::Found found = block::FindBlock(bytes + engine.size() - tail, tail, engine.size(), imageEnd);
        Fail(path.string(), found.kind == block::Found::kBlock
                                ? "the engine carries a package block already"
                                : "the engine carries data after its program image");
    }
    return engine;
}

struct PackageFile {
    fs::path source;
    block::Entry entry;
};

// Every file of the folder but its setup.exe, by relative path with
// backslashes, sorted so that builds are reproducible.
std::vector<PackageFile> PackageFiles(const fs::path& dir, unsigned codePage) {
    std::vector<PackageFile> files;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
        if (e.is_directory()) continue;
        std::string relative = e.path().lexically_relative(dir).string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        if (relative == "setup.exe") continue;
        if (!e.is_regular_file()) Fail(e.path().string(), "not a file: a single file holds files only");
        const std::string problem = block::PathProblem(relative, codePage);
        if (!problem.empty()) Fail(e.path().string(), "cannot go into a single file: " + problem);
        files.push_back({e.path(), {relative, static_cast<uint64_t>(e.file_size())}});
    }
    std::sort(files.begin(), files.end(),
              [](const PackageFile& a, const PackageFile& b) { return a.entry.path < b.entry.path; });
    if (files.size() > block::kMaxEntries) Fail(dir.string(), "too many files for a single file");
    return files;
}

class Writer {
public:
    explicit Writer(const fs::path& path) : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
        if (!out_) Fail(path.string(), "cannot write");
    }
    void Put(const std::string& bytes, bool summed) {
        if (summed) sum_.Update(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        Raw(bytes.data(), bytes.size());
    }
    void CopyFrom(const PackageFile& file, std::vector<char>& buffer) {
        std::ifstream in(file.source, std::ios::binary);
        if (!in) Fail(file.source.string(), "cannot read");
        for (uint64_t left = file.entry.size; left > 0;) {
            const size_t piece = static_cast<size_t>(std::min<uint64_t>(left, buffer.size()));
            if (!in.read(buffer.data(), piece)) Fail(file.source.string(), "changed while it was read");
            sum_.Update(reinterpret_cast<const unsigned char*>(buffer.data()), piece);
            Raw(buffer.data(), piece);
            left -= piece;
        }
    }
    uint32_t Sum() const { return sum_.Value(); }
    void Finish() {
        out_.close();
        if (!out_) Fail(path_.string(), "cannot write");
    }

private:
    void Raw(const char* data, size_t size) {
        if (!out_.write(data, size)) Fail(path_.string(), "cannot write");
    }
    fs::path path_;
    std::ofstream out_;
    core::Crc32c sum_;
};

void WriteTo(const fs::path& path, const std::string& engine, const std::vector<PackageFile>& files) {
    Writer out(path);
    out.Put(engine, false);
    block::Trailer trailer;
    trailer.blockOffset = engine.size();
    trailer.entryCount = static_cast<uint32_t>(files.size());
    uint64_t data = 0;
    for (const PackageFile& file : files) {
        const std::string entry = block::EncodeEntry(file.entry);
        trailer.tableLength += entry.size();
        data += file.entry.size;
        out.Put(entry, true);
    }
    std::vector<char> buffer(kBufferSize);
    for (const PackageFile& file : files) out.CopyFrom(file, buffer);
    const uint64_t end = trailer.blockOffset + trailer.tableLength + data;
    const uint64_t padding = block::PaddingAfter(end);
    out.Put(std::string(static_cast<size_t>(padding), '\0'), true);
    trailer.blockLength = end + padding - trailer.blockOffset;
    trailer.checksum = out.Sum();
    out.Put(block::EncodeTrailer(trailer), false);
    out.Finish();
}

fs::path TemporaryBeside(const fs::path& file) {
    std::random_device random;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".tmp-%08x", static_cast<unsigned>(random()));
    return fs::path(file.string() + suffix);
}

}  // namespace

void WriteSingleFile(const std::string& packageDir, const std::string& outFile, unsigned codePage) {
    const fs::path dir(packageDir);
    const std::string engine = ReadEngine(dir / "setup.exe");
    const std::vector<PackageFile> files = PackageFiles(dir, codePage);
    const fs::path target(outFile), temporary = TemporaryBeside(target);
    try {
        WriteTo(temporary, engine, files);
        std::error_code ec;
        fs::rename(temporary, target, ec);
        if (ec) Fail(target.string(), "cannot write: " + ec.message());
    } catch (const std::exception&) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
}

void CheckSingleFileEngine(const std::string& enginePath) { ReadEngine(fs::path(enginePath)); }

bool SingleFileInsideFolder(const std::string& outFile, const std::string& outDir) {
    std::error_code ec;
    const fs::path file = fs::weakly_canonical(fs::absolute(outFile, ec), ec);
    const fs::path dir = fs::weakly_canonical(fs::absolute(outDir, ec), ec);
    const fs::path relative = file.lexically_relative(dir);
    return !relative.empty() && *relative.begin() != "..";
}

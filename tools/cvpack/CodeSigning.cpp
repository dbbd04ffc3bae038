#include "CodeSigning.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "ProgramRunner.h"
#include "StagingFolder.h"
#include "util/Text.h"

namespace fs = std::filesystem;

namespace {

constexpr char kSigningTool[] = "osslsigncode";

std::uint32_t LittleEndian32(const std::string& bytes, size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw std::runtime_error(path + ": error: not signed: " + why);
}

// Removes the temporary copy on every way out but the one that renamed it.
class TemporaryFile {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const fs::path& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    fs::path path_;
};

}  // namespace

std::string SigningOptionsProblem(const SigningOptions& options) {
    if (options.certificate.empty() || options.key.empty()) return "signing needs --sign-cert and --sign-key";
    const std::pair<const char*, const std::string*> files[] = {{"--sign-cert", &options.certificate},
                                                                {"--sign-key", &options.key},
                                                                {"--sign-pass-file", &options.passFile}};
    for (const auto& [option, file] : files) {
        std::error_code ec;
        if (!file->empty() && !fs::is_regular_file(*file, ec)) return std::string(option) + ": no file " + *file;
    }
    return std::string();
}

std::string NotPortableExecutable(const std::string& header, std::uint64_t fileSize) {
    if (header.size() < 0x40 || header[0] != 'M' || header[1] != 'Z') return "not a Windows program (no MZ header)";
    const std::uint64_t peOffset = LittleEndian32(header, 0x3C);
    if (peOffset + 24 > fileSize)
        return "not a Windows program (its PE header would lie beyond the file's end)";
    if (peOffset + 4 > header.size()) return "not a Windows program (its PE header lies too far in)";
    if (header.compare(peOffset, 4, std::string("PE\0\0", 4)) != 0)
        return "not a Windows program (no PE header where the MZ header points)";
    return std::string();
}

std::string NotPortableExecutableFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot be read";
    std::string header(kPeHeaderProbe, '\0');
    in.read(&header[0], static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<size_t>(in.gcount()));
    std::error_code ec;
    const std::uint64_t size = fs::file_size(path, ec);
    if (ec) return "cannot be read";
    return NotPortableExecutable(header, size);
}

std::vector<std::string> SigningCommand(const SigningOptions& options, const std::string& in,
                                        const std::string& out) {
    std::vector<std::string> command = {kSigningTool, "sign", "-certs", options.certificate,
                                        "-key",        options.key, "-h",  "sha256"};
    // The passphrase is read from its file by the tool itself: it never
    // appears in an argument list that other users of the machine may read.
    if (!options.passFile.empty()) command.insert(command.end(), {"-readpass", options.passFile});
    if (!options.timestampUrl.empty()) command.insert(command.end(), {"-ts", options.timestampUrl});
    command.insert(command.end(), {"-in", in, "-out", out});
    return command;
}

void SignFile(const SigningOptions& options, const std::string& path, const std::string& shownName) {
    const std::string& name = shownName.empty() ? path : shownName;
    const std::string notPe = NotPortableExecutableFile(path);
    if (!notPe.empty()) Refuse(name, notPe);
    // Beside the target, so that the rename that puts it in place stays on one
    // file system and is atomic.
    TemporaryFile signedCopy(UnusedSibling(path, ".signing-"));
    const ProgramResult result = RunProgram(SigningCommand(options, path, signedCopy.Path().string()));
    if (result.exitCode != 0) {
        const std::string said = util::text::ControlCharactersShown(result.output, true);
        Refuse(name, std::string(kSigningTool) + " failed (exit code " + std::to_string(result.exitCode) +
                         ")" + (said.empty() ? std::string() : ":\n" + said));
    }
    std::error_code ec;
    fs::rename(signedCopy.Path(), path, ec);
    if (ec) Refuse(name, "the signed copy could not take its place: " + ec.message());
    signedCopy.Release();
}

SignedCopy::SignedCopy(const SigningOptions& options, const std::string& program) {
    std::error_code ec;
    const fs::path folder = fs::temp_directory_path(ec);
    if (ec) throw std::runtime_error(program + ": error: not signed: no temporary folder: " + ec.message());
    path_ = UnusedSibling(folder / "cvpack", ".signed-").string();
    if (!fs::copy_file(program, path_, ec))
        throw std::runtime_error(program + ": error: not signed: cannot copy it to " + path_ + ": " + ec.message());
    try {
        SignFile(options, path_, program);
    } catch (...) {
        fs::remove(path_, ec);
        throw;
    }
}

SignedCopy::~SignedCopy() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

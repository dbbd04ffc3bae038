#include "ContainerTool.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "crypt/ProjectCipher.h"

namespace fs = std::filesystem;

namespace {

// What is known of a path before the cipher runs, to tell afterwards whether
// the cipher got as far as creating or truncating it.
struct FileState {
    bool exists = false;
    uintmax_t size = 0;
    fs::file_time_type modified;

    static FileState Of(const std::string& path) {
        FileState state;
        std::error_code ec;
        state.exists = fs::is_regular_file(path, ec);
        if (state.exists) {
            state.size = fs::file_size(path, ec);
            state.modified = fs::last_write_time(path, ec);
        }
        return state;
    }

    bool operator==(const FileState& o) const {
        return exists == o.exists && size == o.size && modified == o.modified;
    }
};

// The cipher only refuses identical path texts; two spellings of one file
// would have it truncate its own input.
void RejectSameFile(const std::string& inPath, const std::string& outPath) {
    std::error_code ec;
    if (inPath != outPath && fs::equivalent(inPath, outPath, ec))
        throw std::runtime_error("FileCrypt ERROR: The same File for Input and Output " + inPath +
                                 "!");
}

template <typename Operation>
void RunCipher(const std::string& inPath, const std::string& outPath, Operation operation) {
    RejectSameFile(inPath, outPath);
    FileState before = FileState::Of(outPath);
    try {
        CRijndaelFileCrypt cipher;
        InitializeProjectCipher(cipher);
        operation(cipher);
    } catch (const std::exception&) {
        // A failure before the output was opened left it as it was; remove it
        // only when the cipher created or truncated it.
        std::error_code ec;
        if (!(FileState::Of(outPath) == before)) fs::remove(outPath, ec);
        throw;
    }
}

// The cipher works on whole 16-byte blocks and fills the last one with zero
// bytes; project files are text, so the zero bytes at the end are that
// padding, not the author's. Read backwards a block at a time, since a
// container may be large.
void StripTrailingZeroBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cvpack: cannot read " + path);
    uintmax_t end = fs::file_size(path);
    std::vector<char> block(4096);
    while (end > 0) {
        const uintmax_t count = end < block.size() ? end : block.size();
        in.seekg(static_cast<std::streamoff>(end - count));
        if (!in.read(block.data(), static_cast<std::streamsize>(count)))
            throw std::runtime_error("cvpack: cannot read " + path);
        uintmax_t kept = count;
        while (kept > 0 && block[kept - 1] == '\0') --kept;
        end -= count - kept;
        if (kept > 0) break;
    }
    in.close();
    fs::resize_file(path, end);
}

}  // namespace

void EncryptProjectFile(const std::string& inPath, const std::string& outPath) {
    RunCipher(inPath, outPath, [&](CRijndaelFileCrypt& cipher) {
        cipher.EncryptFile(inPath.c_str(), outPath.c_str());
    });
}

void DecryptProjectFile(const std::string& inPath, const std::string& outPath) {
    RunCipher(inPath, outPath, [&](CRijndaelFileCrypt& cipher) {
        cipher.DecryptFile(inPath.c_str(), outPath.c_str());
        StripTrailingZeroBytes(outPath);
    });
}

std::string DecryptProjectText(const std::string& inPath) {
    // Looked at before it is opened: opening a pipe would wait for a writer.
    std::error_code ec;
    if (!fs::is_regular_file(inPath, ec)) throw std::runtime_error(inPath + ": cannot read");
    std::ifstream in(inPath, std::ios::binary);
    if (!in) throw std::runtime_error(inPath + ": cannot read");
    CRijndaelFileCrypt cipher;
    InitializeProjectCipher(cipher);
    std::ostringstream out;
    cipher.DecryptStream(in, out, inPath.c_str());
    std::string text = out.str();
    text.erase(text.find_last_not_of('\0') + 1);
    return text;
}

#include "ContainerTool.h"

#include <filesystem>
#include <stdexcept>

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

}  // namespace

void EncryptProjectFile(const std::string& inPath, const std::string& outPath) {
    RunCipher(inPath, outPath, [&](CRijndaelFileCrypt& cipher) {
        cipher.EncryptFile(inPath.c_str(), outPath.c_str());
    });
}

void DecryptProjectFile(const std::string& inPath, const std::string& outPath) {
    RunCipher(inPath, outPath, [&](CRijndaelFileCrypt& cipher) {
        cipher.DecryptFile(inPath.c_str(), outPath.c_str());
    });
}

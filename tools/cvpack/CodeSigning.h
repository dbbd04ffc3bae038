// Authenticode signatures on the programs cvpack ships (setup.exe, the
// uninstaller), made by osslsigncode with a SHA-256 digest. A file is signed
// into a temporary copy beside it, which takes its place only when the
// signing tool succeeded: a failed signing leaves the file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SigningOptions {
    std::string certificate;  // the code-signing certificate (and its chain), PEM or DER
    std::string key;          // its private key
    std::string passFile;     // a file holding the key's passphrase; empty: none
    std::string timestampUrl; // an RFC 3161 time-stamping server; empty: no time stamp

    bool Requested() const { return !certificate.empty() || !key.empty(); }
};

// What keeps the options from signing: a certificate without its key or a
// key without a certificate, or a file named that does not exist; empty when
// they can be used.
std::string SigningOptionsProblem(const SigningOptions& options);

// Why the first bytes of a file (`header`, up to kPeHeaderProbe bytes) of
// `fileSize` bytes are not a Windows program (PE): no "MZ", no PE header where
// the MZ header points; empty when they are one.
constexpr size_t kPeHeaderProbe = 4096;
std::string NotPortableExecutable(const std::string& header, std::uint64_t fileSize);
// The same for the file at `path`, read from disk.
std::string NotPortableExecutableFile(const std::string& path);

// The argument vector that signs `in` into `out`.
std::vector<std::string> SigningCommand(const SigningOptions& options, const std::string& in,
                                        const std::string& out);

// Signs `path` in place. Throws std::runtime_error naming the file (as
// `shownName` when one is given), with what the signing tool printed, when it
// is not a PE file or the tool fails; the file is then as it was.
void SignFile(const SigningOptions& options, const std::string& path, const std::string& shownName = "");

// A signed copy of `program` in a temporary file, removed with this object:
// for a program that is packed into the cabinet, which is signed before it
// goes in and is left as it is where it came from. Throws as SignFile.
class SignedCopy {
public:
    SignedCopy(const SigningOptions& options, const std::string& program);
    ~SignedCopy();
    SignedCopy(const SignedCopy&) = delete;
    SignedCopy& operator=(const SignedCopy&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

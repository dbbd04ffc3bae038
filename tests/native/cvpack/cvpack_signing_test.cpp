// cvpack's signing rules: which files are Windows programs it may hand to the
// signing tool, and the tool's command line. Signing itself is checked end to
// end against osslsigncode and Windows' own verification (tests/e2e/signing.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CodeSigning.h"

namespace {

// The headers of a PE file: "MZ", the PE header's offset at 0x3C, "PE\0\0" there.
std::string PeHeader(unsigned peOffset, size_t size) {
    std::string bytes(size, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = static_cast<char>((peOffset >> (8 * i)) & 0xFF);
    if (peOffset + 4 <= size) bytes.replace(peOffset, 4, std::string("PE\0\0", 4));
    return bytes;
}

TEST(CvpackSigning, OnlyPortableExecutablesAreSigned) {
    EXPECT_EQ(NotPortableExecutable(PeHeader(0x80, 512), 512), "");
    EXPECT_NE(NotPortableExecutable("plain text, not a program at all, long enough to hold a header....", 66), "");
    EXPECT_NE(NotPortableExecutable("MZ", 2), "");  // too short for the MZ header
    std::string noPe = PeHeader(0x80, 512);
    noPe[0x80] = 'X';
    EXPECT_NE(NotPortableExecutable(noPe, 512), "");
    // An offset past the file's end or past what was read is refused, never read.
    EXPECT_NE(NotPortableExecutable(PeHeader(0xFFFFFFF0u, 512), 512), "");
    EXPECT_NE(NotPortableExecutable(PeHeader(0x2000, 512), 0x10000), "");
}

TEST(CvpackSigning, CommandSignsWithSha256AndNeverHoldsThePassphrase) {
    SigningOptions options;
    options.certificate = "cert.pem";
    options.key = "key.pem";
    EXPECT_EQ(SigningCommand(options, "in.exe", "out.exe"),
              (std::vector<std::string>{"osslsigncode", "sign", "-certs", "cert.pem", "-key", "key.pem", "-h",
                                        "sha256", "-in", "in.exe", "-out", "out.exe"}));
    options.passFile = "pass.txt";
    options.timestampUrl = "http://127.0.0.1:1/tsa";
    const std::vector<std::string> command = SigningCommand(options, "in.exe", "out.exe");
    const auto readpass = std::find(command.begin(), command.end(), "-readpass");
    ASSERT_TRUE(readpass != command.end() && readpass + 1 != command.end());
    EXPECT_EQ(readpass[1], "pass.txt");
    EXPECT_EQ(std::count(command.begin(), command.end(), "-pass"), 0);
    EXPECT_EQ(std::count(command.begin(), command.end(), "-ts"), 1);
}

TEST(CvpackSigning, OptionsNeedBothCertificateAndKey) {
    SigningOptions options;
    options.key = "/nonexistent/key.pem";
    EXPECT_NE(SigningOptionsProblem(options), "");
    options.certificate = "/nonexistent/cert.pem";
    EXPECT_NE(SigningOptionsProblem(options).find("--sign-cert"), std::string::npos);
}

}  // namespace

// The project container: signature check and decryption of whatever follows,
// as the setup reads setup.nsx and data.nsx.
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include "crypt/ProjectCipher.h"
#include "crypt/RijndaelFileCrypt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CRijndaelFileCrypt* cipher = [] {
        auto* c = new CRijndaelFileCrypt;
        InitializeProjectCipher(*c);
        return c;
    }();
    // Odd first byte: the valid signature comes first, so the body is
    // decrypted; otherwise the bytes are taken as they are.
    std::string bytes;
    if (size > 0 && (data[0] & 1)) {
        unsigned char signature[64] = {};
        cipher->GetSignature(signature);
        bytes.assign(reinterpret_cast<char*>(signature), 32);
    }
    if (size > 0) bytes.append(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::istringstream in(bytes);
    std::ostringstream out;
    try {
        cipher->DecryptStream(in, out, "fuzz");
        // Nothing is lost or invented: the plain text is as long as the body.
        if (out.str().size() != bytes.size() - 32) __builtin_trap();
    } catch (const std::runtime_error&) {
        // A bad signature or a ragged tail: the clear refusal expected.
    }
    return 0;
}

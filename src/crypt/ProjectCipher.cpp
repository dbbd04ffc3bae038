#include "ProjectCipher.h"

namespace {
const char kProjectKeyData[] = ".p..ul.%.58190";
const unsigned char kZeroChain[32] = {0};
}  // namespace

void InitializeProjectCipher(CRijndaelFileCrypt& cipher) {
    cipher.Initialize(reinterpret_cast<const unsigned char*>(kProjectKeyData),
                      static_cast<int>(sizeof(kProjectKeyData) - 1), kZeroChain, 16, 16,
                      CRijndaelFileCrypt::ECB, CRijndaelFileCrypt::PAD_ZEROS);
}

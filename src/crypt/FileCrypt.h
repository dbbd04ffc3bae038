// Interface of a file cipher: buffer and whole-file transforms behind a
// signature that identifies the key and parameters.
#pragma once

#ifdef _WIN32
// <windows.h> maps EncryptFile/DecryptFile to the Win32 file-encryption
// functions. Pull it in first and drop those macros so the member names below
// stay the same in every translation unit, with or without <windows.h>.
#include <windows.h>
#undef EncryptFile
#undef DecryptFile
#endif

class CFileCrypt {
public:
    CFileCrypt() : m_bInitialized(false) {}
    virtual ~CFileCrypt() {}

    // Writes the 32-byte signature of the current key and parameters.
    virtual void GetSignature(unsigned char* signature) = 0;
    // n must be positive and a multiple of the block size; the working chain
    // carries over from call to call.
    virtual void EncryptBuffer(const unsigned char* in, unsigned char* out, int n) = 0;
    virtual void DecryptBuffer(const unsigned char* in, unsigned char* out, int n) = 0;
    virtual void EncryptFile(const char* inPath, const char* outPath) = 0;
    virtual void DecryptFile(const char* inPath, const char* outPath) = 0;
    virtual void ResetChain() = 0;

protected:
    bool m_bInitialized;
};

// Rijndael file cipher (AES for 16-byte blocks) with 16/24/32-byte blocks and
// keys, ECB/CBC/CFB chaining and three paddings. Errors are thrown as
// std::runtime_error carrying the user-facing message text.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "FileCrypt.h"

class CRijndaelFileCrypt : public CFileCrypt {
public:
    enum { ECB = 0, CBC = 1, CFB = 2 };
    enum { PAD_ZEROS = 0, PAD_BLANKS = 1, PAD_COUNT = 2 };
    enum { MAX_BLOCK = 32, MAX_ROUNDS = 14 };

    CRijndaelFileCrypt();
    ~CRijndaelFileCrypt() override;

    // Replaces all previous state; on failure the object is left as it was.
    void Initialize(const unsigned char* keyData, int keyDataLength, const unsigned char* chain,
                    int keyLength, int blockSize, int operationMode, int paddingMode);

    void GetSignature(unsigned char* signature) override;
    void EncryptBuffer(const unsigned char* in, unsigned char* out, int n) override;
    void DecryptBuffer(const unsigned char* in, unsigned char* out, int n) override;
    void EncryptFile(const char* inPath, const char* outPath) override;
    void DecryptFile(const char* inPath, const char* outPath) override;
    // DecryptFile's work on open streams (`name` appears in the error text):
    // checks the signature, then writes the plain text of the rest to `out`.
    void DecryptStream(std::istream& in, std::ostream& out, const char* name);
    void ResetChain() override;

    // Pads the first n bytes up to a whole block (no block added when n is
    // already whole) and returns the new length; buf needs room for one block more.
    int PadBuffer(unsigned char* buf, int n);
    void XorBlock(unsigned char* a, const unsigned char* b);
    void EncryptBlock(const unsigned char* in, unsigned char* out);
    void DecryptBlock(const unsigned char* in, unsigned char* out);

    int BlockSize() const { return m_iBlockSize; }

private:
    void CheckInitialized() const;
    void CheckBufferLength(int n) const;
    void ExpandKey();
    // Block transforms without the initialised check, for the buffer loops.
    void Encrypt(const unsigned char* in, unsigned char* out);
    void Decrypt(const unsigned char* in, unsigned char* out);
    // Common start of the file operations: checks, then opens input and output.
    void OpenFiles(const char* inPath, const char* outPath, std::ifstream& in, std::ofstream& out);
    void EncryptBlock16(const unsigned char* in, unsigned char* out);
    void DecryptBlock16(const unsigned char* in, unsigned char* out);
    void EncryptBlockGeneric(const unsigned char* in, unsigned char* out);
    void DecryptBlockGeneric(const unsigned char* in, unsigned char* out);

    int32_t m_iBlockSize;
    int32_t m_iKeyLength;
    int32_t m_iMode;
    int32_t m_iPadding;
    unsigned char m_key[32];
    uint32_t m_Ke[MAX_ROUNDS + 1][8];
    uint32_t m_Kd[MAX_ROUNDS + 1][8];
    int32_t m_iRounds;
    unsigned char m_chain0[MAX_BLOCK];
    unsigned char m_chain[MAX_BLOCK];
    uint32_t m_tk[8];
    uint32_t m_a[8];
};

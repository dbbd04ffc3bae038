#include "RijndaelFileCrypt.h"

#include "crypt/ByteOrder.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

#include "DoubleBuffering.h"
#include "RijndaelTables.h"
#include "Sha.h"

using rijndael::kTables;

namespace {

// Whole files go through the cipher in chunks of this size; it is a multiple
// of every block size, so chunking never changes the ciphertext.
const int kChunk = 384;
const int kRingSize = 1024;
const int kSignatureSize = CSHA::DIGEST_SIZE;

inline uint32_t B0(uint32_t w) { return w >> 24; }
inline uint32_t B1(uint32_t w) { return (w >> 16) & 0xff; }
inline uint32_t B2(uint32_t w) { return (w >> 8) & 0xff; }
inline uint32_t B3(uint32_t w) { return w & 0xff; }

inline uint32_t SubWord(uint32_t w) {
    const uint8_t* s = kTables.S;
    return (uint32_t(s[B0(w)]) << 24) | (uint32_t(s[B1(w)]) << 16) | (uint32_t(s[B2(w)]) << 8) |
           s[B3(w)];
}

inline uint32_t InvMixColumn(uint32_t w) {
    return kTables.U0[B0(w)] ^ kTables.U1[B1(w)] ^ kTables.U2[B2(w)] ^ kTables.U3[B3(w)];
}

// ShiftRows: row r of column j comes from column j + shift[r] (encryption).
struct Shifts {
    int s1, s2, s3;
};

inline Shifts ShiftsFor(int columns) {
    return columns == 8 ? Shifts{1, 3, 4} : Shifts{1, 2, 3};
}

std::runtime_error Error(const std::string& text) { return std::runtime_error(text); }

std::runtime_error FileError(const char* what, const char* path, const char* tail) {
    return Error(std::string("FileCrypt ERROR: ") + what + path + tail);
}

}  // namespace

CRijndaelFileCrypt::CRijndaelFileCrypt()
    : m_iBlockSize(16), m_iKeyLength(16), m_iMode(ECB), m_iPadding(PAD_ZEROS), m_iRounds(10) {
    std::memset(m_key, 0, sizeof(m_key));
    std::memset(m_Ke, 0, sizeof(m_Ke));
    std::memset(m_Kd, 0, sizeof(m_Kd));
    std::memset(m_chain0, 0, sizeof(m_chain0));
    std::memset(m_chain, 0, sizeof(m_chain));
    std::memset(m_tk, 0, sizeof(m_tk));
    std::memset(m_a, 0, sizeof(m_a));
}

CRijndaelFileCrypt::~CRijndaelFileCrypt() {
    // Do not leave key material behind in freed memory.
    std::memset(m_key, 0, sizeof(m_key));
    std::memset(m_Ke, 0, sizeof(m_Ke));
    std::memset(m_Kd, 0, sizeof(m_Kd));
}

// ---------------------------------------------------------------------------
// Set-up

void CRijndaelFileCrypt::Initialize(const unsigned char* keyData, int keyDataLength,
                                    const unsigned char* chain, int keyLength, int blockSize,
                                    int operationMode, int paddingMode) {
    // Every check comes before the first change, so a failure leaves the
    // object exactly as it was.
    if (!keyData) throw Error("FileCrypt ERROR: No Key DataSpecified!");
    if (keyDataLength < 1) throw Error("FileCrypt ERROR: Key Data Length should be > 0!");
    if (keyLength != 16 && keyLength != 24 && keyLength != 32) throw Error("Illegal Key Length!");
    if (blockSize != 16 && blockSize != 24 && blockSize != 32) throw Error("Illegal Block Size!");
    if (operationMode < ECB || operationMode > CFB)
        throw Error("FileCrypt ERROR: Illegal Operation Mode!");
    if (paddingMode < PAD_ZEROS || paddingMode > PAD_COUNT)
        throw Error("FileCrypt ERROR: Illegal Padding Mode!");

    m_iMode = operationMode;
    m_iPadding = paddingMode;
    std::memset(m_key, 0, sizeof(m_key));
    for (int i = 0; i < keyLength; ++i) m_key[i] = keyData[i % keyDataLength];
    std::memset(m_chain0, 0, sizeof(m_chain0));
    std::memcpy(m_chain0, chain, blockSize);
    std::memcpy(m_chain, m_chain0, sizeof(m_chain));
    m_iBlockSize = blockSize;
    m_iKeyLength = keyLength;
    // Rounds: the larger of key columns and block columns, plus 6.
    m_iRounds = (keyLength > blockSize ? keyLength : blockSize) / 4 + 6;
    ExpandKey();
    m_bInitialized = true;
}

void CRijndaelFileCrypt::ExpandKey() {
    const int nk = m_iKeyLength / 4;
    const int nb = m_iBlockSize / 4;
    const int total = (m_iRounds + 1) * nb;
    int t = 0;
    // The schedule is a stream of words cut into round keys of nb words;
    // m_tk holds the latest nk of them.
    auto emit = [&]() {
        for (int j = 0; j < nk && t < total; ++j, ++t) m_Ke[t / nb][t % nb] = m_tk[j];
    };
    for (int j = 0; j < nk; ++j) m_tk[j] = LoadBE(m_key + 4 * j);
    emit();
    for (int rcon = 0; t < total; ++rcon) {
        const uint32_t last = m_tk[nk - 1];
        m_tk[0] ^= SubWord((last << 8) | (last >> 24)) ^ (uint32_t(kTables.Rcon[rcon]) << 24);
        for (int j = 1; j < nk; ++j)
            m_tk[j] ^= (nk == 8 && j == 4) ? SubWord(m_tk[3]) : m_tk[j - 1];
        emit();
    }

    // Equivalent inverse cipher: round keys in reverse order, the inner ones
    // passed through InvMixColumns.
    for (int r = 0; r <= m_iRounds; ++r)
        for (int j = 0; j < nb; ++j) {
            const uint32_t w = m_Ke[m_iRounds - r][j];
            m_Kd[r][j] = (r == 0 || r == m_iRounds) ? w : InvMixColumn(w);
        }
}

// ---------------------------------------------------------------------------
// Checks and small helpers

void CRijndaelFileCrypt::CheckInitialized() const {
    if (!m_bInitialized)
        throw Error("FileCrypt ERROR: Encryption/Decryption Object not Initialized!");
}

void CRijndaelFileCrypt::CheckBufferLength(int n) const {
    if (n <= 0 || n % m_iBlockSize != 0) throw Error("Illegal Block Size!");
}

void CRijndaelFileCrypt::ResetChain() {
    CheckInitialized();
    std::memcpy(m_chain, m_chain0, m_iBlockSize);
}

int CRijndaelFileCrypt::PadBuffer(unsigned char* buf, int n) {
    CheckInitialized();
    const int rest = n % m_iBlockSize;
    if (rest == 0) return n;
    const int p = m_iBlockSize - rest;
    const int fill = m_iPadding == PAD_BLANKS ? 0x20 : m_iPadding == PAD_COUNT ? p : 0x00;
    std::memset(buf + n, fill, p);
    return n + p;
}

void CRijndaelFileCrypt::XorBlock(unsigned char* a, const unsigned char* b) {
    CheckInitialized();
    for (int i = 0; i < m_iBlockSize; ++i) a[i] ^= b[i];
}

void CRijndaelFileCrypt::GetSignature(unsigned char* signature) {
    // "RIJNDAEL", the key bytes, then block size, key length, mode and padding
    // as decimal text, hashed as a C string: a zero key byte ends the text.
    char text[48] = {0};
    std::memcpy(text, "RIJNDAEL", 8);
    std::memcpy(text + 8, m_key, m_iKeyLength);
    const int at = 8 + m_iKeyLength;
    std::snprintf(text + at, sizeof(text) - at, "%d%d%d%d", static_cast<int>(m_iBlockSize),
                  static_cast<int>(m_iKeyLength), static_cast<int>(m_iMode),
                  static_cast<int>(m_iPadding));
    CSHA sha;
    sha.AddData(reinterpret_cast<const unsigned char*>(text), static_cast<int>(std::strlen(text)));
    sha.FinalDigest(signature);
}

// ---------------------------------------------------------------------------
// Single blocks

void CRijndaelFileCrypt::EncryptBlock(const unsigned char* in, unsigned char* out) {
    CheckInitialized();
    Encrypt(in, out);
}

void CRijndaelFileCrypt::DecryptBlock(const unsigned char* in, unsigned char* out) {
    CheckInitialized();
    Decrypt(in, out);
}

inline void CRijndaelFileCrypt::Encrypt(const unsigned char* in, unsigned char* out) {
    if (m_iBlockSize == 16)
        EncryptBlock16(in, out);
    else
        EncryptBlockGeneric(in, out);
}

inline void CRijndaelFileCrypt::Decrypt(const unsigned char* in, unsigned char* out) {
    if (m_iBlockSize == 16)
        DecryptBlock16(in, out);
    else
        DecryptBlockGeneric(in, out);
}

// AES proper: four columns, rounds unrolled across the columns.
void CRijndaelFileCrypt::EncryptBlock16(const unsigned char* in, unsigned char* out) {
    const rijndael::Tables& T = kTables;
    const uint32_t* k = m_Ke[0];
    uint32_t a0 = LoadBE(in) ^ k[0], a1 = LoadBE(in + 4) ^ k[1];
    uint32_t a2 = LoadBE(in + 8) ^ k[2], a3 = LoadBE(in + 12) ^ k[3];
    for (int r = 1; r < m_iRounds; ++r) {
        k = m_Ke[r];
        const uint32_t t0 = T.Te0[B0(a0)] ^ T.Te1[B1(a1)] ^ T.Te2[B2(a2)] ^ T.Te3[B3(a3)] ^ k[0];
        const uint32_t t1 = T.Te0[B0(a1)] ^ T.Te1[B1(a2)] ^ T.Te2[B2(a3)] ^ T.Te3[B3(a0)] ^ k[1];
        const uint32_t t2 = T.Te0[B0(a2)] ^ T.Te1[B1(a3)] ^ T.Te2[B2(a0)] ^ T.Te3[B3(a1)] ^ k[2];
        const uint32_t t3 = T.Te0[B0(a3)] ^ T.Te1[B1(a0)] ^ T.Te2[B2(a1)] ^ T.Te3[B3(a2)] ^ k[3];
        a0 = t0, a1 = t1, a2 = t2, a3 = t3;
    }
    k = m_Ke[m_iRounds];
    const uint8_t* S = T.S;
    auto last = [S](uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) {
        return (uint32_t(S[B0(w0)]) << 24) | (uint32_t(S[B1(w1)]) << 16) |
               (uint32_t(S[B2(w2)]) << 8) | S[B3(w3)];
    };
    StoreBE(last(a0, a1, a2, a3) ^ k[0], out);
    StoreBE(last(a1, a2, a3, a0) ^ k[1], out + 4);
    StoreBE(last(a2, a3, a0, a1) ^ k[2], out + 8);
    StoreBE(last(a3, a0, a1, a2) ^ k[3], out + 12);
}

void CRijndaelFileCrypt::DecryptBlock16(const unsigned char* in, unsigned char* out) {
    const rijndael::Tables& T = kTables;
    const uint32_t* k = m_Kd[0];
    uint32_t a0 = LoadBE(in) ^ k[0], a1 = LoadBE(in + 4) ^ k[1];
    uint32_t a2 = LoadBE(in + 8) ^ k[2], a3 = LoadBE(in + 12) ^ k[3];
    for (int r = 1; r < m_iRounds; ++r) {
        k = m_Kd[r];
        const uint32_t t0 = T.Td0[B0(a0)] ^ T.Td1[B1(a3)] ^ T.Td2[B2(a2)] ^ T.Td3[B3(a1)] ^ k[0];
        const uint32_t t1 = T.Td0[B0(a1)] ^ T.Td1[B1(a0)] ^ T.Td2[B2(a3)] ^ T.Td3[B3(a2)] ^ k[1];
        const uint32_t t2 = T.Td0[B0(a2)] ^ T.Td1[B1(a1)] ^ T.Td2[B2(a0)] ^ T.Td3[B3(a3)] ^ k[2];
        const uint32_t t3 = T.Td0[B0(a3)] ^ T.Td1[B1(a2)] ^ T.Td2[B2(a1)] ^ T.Td3[B3(a0)] ^ k[3];
        a0 = t0, a1 = t1, a2 = t2, a3 = t3;
    }
    k = m_Kd[m_iRounds];
    const uint8_t* Si = T.Si;
    auto last = [Si](uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3) {
        return (uint32_t(Si[B0(w0)]) << 24) | (uint32_t(Si[B1(w1)]) << 16) |
               (uint32_t(Si[B2(w2)]) << 8) | Si[B3(w3)];
    };
    StoreBE(last(a0, a3, a2, a1) ^ k[0], out);
    StoreBE(last(a1, a0, a3, a2) ^ k[1], out + 4);
    StoreBE(last(a2, a1, a0, a3) ^ k[2], out + 8);
    StoreBE(last(a3, a2, a1, a0) ^ k[3], out + 12);
}

// Any block size: nb columns, row r of column j taken from column j + shift
// (encryption) or j - shift (decryption), modulo nb.
void CRijndaelFileCrypt::EncryptBlockGeneric(const unsigned char* in, unsigned char* out) {
    const rijndael::Tables& T = kTables;
    const int nb = m_iBlockSize / 4;
    const Shifts s = ShiftsFor(nb);
    int c1[8], c2[8], c3[8];
    for (int j = 0; j < nb; ++j)
        c1[j] = (j + s.s1) % nb, c2[j] = (j + s.s2) % nb, c3[j] = (j + s.s3) % nb;

    uint32_t t[8];
    for (int j = 0; j < nb; ++j) m_a[j] = LoadBE(in + 4 * j) ^ m_Ke[0][j];
    for (int r = 1; r < m_iRounds; ++r) {
        const uint32_t* k = m_Ke[r];
        for (int j = 0; j < nb; ++j)
            t[j] = T.Te0[B0(m_a[j])] ^ T.Te1[B1(m_a[c1[j]])] ^ T.Te2[B2(m_a[c2[j]])] ^
                   T.Te3[B3(m_a[c3[j]])] ^ k[j];
        std::memcpy(m_a, t, nb * sizeof(uint32_t));
    }
    const uint32_t* k = m_Ke[m_iRounds];
    for (int j = 0; j < nb; ++j) {
        const uint32_t w = (uint32_t(T.S[B0(m_a[j])]) << 24) | (uint32_t(T.S[B1(m_a[c1[j]])]) << 16) |
                           (uint32_t(T.S[B2(m_a[c2[j]])]) << 8) | T.S[B3(m_a[c3[j]])];
        StoreBE(w ^ k[j], out + 4 * j);
    }
}

void CRijndaelFileCrypt::DecryptBlockGeneric(const unsigned char* in, unsigned char* out) {
    const rijndael::Tables& T = kTables;
    const int nb = m_iBlockSize / 4;
    const Shifts s = ShiftsFor(nb);
    int c1[8], c2[8], c3[8];
    for (int j = 0; j < nb; ++j)
        c1[j] = (j + nb - s.s1) % nb, c2[j] = (j + nb - s.s2) % nb, c3[j] = (j + nb - s.s3) % nb;

    uint32_t t[8];
    for (int j = 0; j < nb; ++j) m_a[j] = LoadBE(in + 4 * j) ^ m_Kd[0][j];
    for (int r = 1; r < m_iRounds; ++r) {
        const uint32_t* k = m_Kd[r];
        for (int j = 0; j < nb; ++j)
            t[j] = T.Td0[B0(m_a[j])] ^ T.Td1[B1(m_a[c1[j]])] ^ T.Td2[B2(m_a[c2[j]])] ^
                   T.Td3[B3(m_a[c3[j]])] ^ k[j];
        std::memcpy(m_a, t, nb * sizeof(uint32_t));
    }
    const uint32_t* k = m_Kd[m_iRounds];
    for (int j = 0; j < nb; ++j) {
        const uint32_t w = (uint32_t(T.Si[B0(m_a[j])]) << 24) |
                           (uint32_t(T.Si[B1(m_a[c1[j]])]) << 16) |
                           (uint32_t(T.Si[B2(m_a[c2[j]])]) << 8) | T.Si[B3(m_a[c3[j]])];
        StoreBE(w ^ k[j], out + 4 * j);
    }
}

// ---------------------------------------------------------------------------
// Buffers. Input and output may be the same area: each block is read in full
// before its output is written.

void CRijndaelFileCrypt::EncryptBuffer(const unsigned char* in, unsigned char* out, int n) {
    CheckInitialized();
    CheckBufferLength(n);
    const int bs = m_iBlockSize;
    unsigned char tmp[MAX_BLOCK];
    for (int off = 0; off < n; off += bs) {
        const unsigned char* p = in + off;
        unsigned char* q = out + off;
        switch (m_iMode) {
        case ECB:
            Encrypt(p, q);
            break;
        case CBC:
            for (int i = 0; i < bs; ++i) m_chain[i] ^= p[i];
            Encrypt(m_chain, m_chain);
            std::memcpy(q, m_chain, bs);
            break;
        default:  // CFB
            Encrypt(m_chain, tmp);
            for (int i = 0; i < bs; ++i) q[i] = m_chain[i] = tmp[i] ^ p[i];
            break;
        }
    }
}

void CRijndaelFileCrypt::DecryptBuffer(const unsigned char* in, unsigned char* out, int n) {
    CheckInitialized();
    CheckBufferLength(n);
    const int bs = m_iBlockSize;
    unsigned char tmp[MAX_BLOCK];
    unsigned char c[MAX_BLOCK];
    for (int off = 0; off < n; off += bs) {
        const unsigned char* p = in + off;
        unsigned char* q = out + off;
        switch (m_iMode) {
        case ECB:
            Decrypt(p, q);
            break;
        case CBC:
            std::memcpy(c, p, bs);
            Decrypt(c, tmp);
            for (int i = 0; i < bs; ++i) q[i] = tmp[i] ^ m_chain[i];
            std::memcpy(m_chain, c, bs);
            break;
        default:  // CFB runs the cipher forwards in both directions
            std::memcpy(c, p, bs);
            Encrypt(m_chain, tmp);
            for (int i = 0; i < bs; ++i) q[i] = tmp[i] ^ c[i];
            std::memcpy(m_chain, c, bs);
            break;
        }
    }
}

// ---------------------------------------------------------------------------
// Whole files: 32-byte signature, then the ciphertext.

void CRijndaelFileCrypt::OpenFiles(const char* inPath, const char* outPath, std::ifstream& in,
                                   std::ofstream& out) {
    CheckInitialized();
    if (std::strcmp(inPath, outPath) == 0)
        throw FileError("The same File for Input and Output ", inPath, "!");
    in.open(inPath, std::ios::in | std::ios::binary);
    if (!in.is_open()) throw FileError("Cannot open File ", inPath, "!");
    out.open(outPath, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open()) throw FileError("Cannot open File ", outPath, "!");
}

void CRijndaelFileCrypt::EncryptFile(const char* inPath, const char* outPath) {
    std::ifstream in;
    std::ofstream out;
    OpenFiles(inPath, outPath, in, out);

    unsigned char signature[kSignatureSize];
    GetSignature(signature);
    out.write(reinterpret_cast<const char*>(signature), kSignatureSize);
    ResetChain();

    char ring[kRingSize];
    unsigned char chunk[kChunk + MAX_BLOCK];  // room for padding the last chunk
    CDoubleBuffering reader(in, ring, kRingSize, kChunk);
    for (;;) {
        int n = reader.GetData(reinterpret_cast<char*>(chunk), kChunk);
        if (n == 0) break;
        if (n < kChunk) n = PadBuffer(chunk, n);
        EncryptBuffer(chunk, chunk, n);
        out.write(reinterpret_cast<const char*>(chunk), n);
    }
}

void CRijndaelFileCrypt::DecryptFile(const char* inPath, const char* outPath) {
    std::ifstream in;
    std::ofstream out;
    OpenFiles(inPath, outPath, in, out);  // the output now exists, empty
    DecryptStream(in, out, inPath);
}

void CRijndaelFileCrypt::DecryptStream(std::istream& in, std::ostream& out, const char* name) {
    CheckInitialized();
    unsigned char expected[kSignatureSize];
    unsigned char found[kSignatureSize];
    GetSignature(expected);
    in.read(reinterpret_cast<char*>(found), kSignatureSize);
    if (in.gcount() != kSignatureSize || std::memcmp(found, expected, kSignatureSize) != 0)
        throw FileError("File ", name, " cannot be Correctly Decrypted!");
    ResetChain();

    char ring[kRingSize];
    unsigned char chunk[kChunk];
    CDoubleBuffering reader(in, ring, kRingSize, kChunk);
    for (;;) {
        const int n = reader.GetData(reinterpret_cast<char*>(chunk), kChunk);
        if (n == 0) break;
        DecryptBuffer(chunk, chunk, n);  // a ragged tail throws here
        out.write(reinterpret_cast<const char*>(chunk), n);
    }
}

// addroot CERT.der: makes a certificate authority trusted in this Wine prefix
// only, by adding its DER-encoded certificate to the machine's "Root" store,
// for the https downloads of the end-to-end tests. Prints "ADDED" (exit code
// 1 when the file cannot be read or the store refuses it).
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (der.empty()) return 1;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (!store) {
        std::printf("CertOpenStore: %lu\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (!added) std::printf("CertAddEncodedCertificateToStore: %lu\n", GetLastError());
    CertCloseStore(store, 0);
    if (!added) return 1;
    std::printf("ADDED\n");
    return 0;
}

// svcquery NAME: prints a service's configuration as the service control
// manager holds it, one field a line (TYPE, START, ERROR, BINARY, DISPLAY,
// ACCOUNT), for the end-to-end tests; Wine's sc.exe has no "qc". Exit code 1
// when the service cannot be opened or read.
#include <windows.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: svcquery NAME\n");
        return 2;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, argv[1], SERVICE_QUERY_CONFIG) : nullptr;
    DWORD needed = 0;
    std::vector<unsigned char> buffer;
    bool read = false;
    if (service) {
        QueryServiceConfigA(service, nullptr, 0, &needed);
        buffer.resize(needed ? needed : 1);
        read = QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                                   static_cast<DWORD>(buffer.size()), &needed) != 0;
    }
    if (read) {
        const auto* config = reinterpret_cast<const QUERY_SERVICE_CONFIGA*>(buffer.data());
        auto text = [](const char* s) { return s ? s : ""; };
        std::printf("TYPE=%lu\nSTART=%lu\nERROR=%lu\nBINARY=%s\nDISPLAY=%s\nACCOUNT=%s\n",
                    config->dwServiceType, config->dwStartType, config->dwErrorControl,
                    text(config->lpBinaryPathName), text(config->lpDisplayName),
                    text(config->lpServiceStartName));
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return read ? 0 : 1;
}

#include "cabinet/EmbeddedCabinet.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <map>
#include <mutex>

#include "util/Text.h"

namespace cabinet {

namespace {

// Descriptors of the cabinet's opens are numbers of their own, far above
// the C library's, whose calls never see them.
constexpr int kFirstDescriptor = 1 << 24;

struct Embedded {
    std::mutex lock;
    std::string path;
    HANDLE file = INVALID_HANDLE_VALUE;
    int64_t offset = 0;
    int64_t length = 0;
    int next = kFirstDescriptor;
    std::map<int, int64_t> open;  // descriptor: its position in the cabinet
};

Embedded& TheEmbedded() {
    static Embedded embedded;
    return embedded;
}

// Reads at `at` in the file without moving any position of the handle's:
// each open keeps its own (a second open of the file by a handle of its own
// would do, but Wine reopens a handle by its file's name).
DWORD ReadAt(HANDLE file, int64_t at, void* data, DWORD size) {
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(at & 0xFFFFFFFF);
    where.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD got = 0;
    return ReadFile(file, data, size, &got, &where) ? got : 0;
}

}  // namespace

void SetEmbeddedCabinet(const std::string& cabinetPath, HANDLE file, uint64_t offset, uint64_t length) {
    Embedded& e = TheEmbedded();
    std::lock_guard<std::mutex> guard(e.lock);
    e.path = cabinetPath;
    e.file = file;
    e.offset = static_cast<int64_t>(offset);
    e.length = static_cast<int64_t>(length);
    e.open.clear();
}

int OpenCabinetFile(const char* path, int oflag, int pmode) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        if (!e.path.empty() && util::text::EqualsIgnoringAsciiCase(e.path, path)) {
            if (e.file == INVALID_HANDLE_VALUE || (oflag & (_O_WRONLY | _O_RDWR))) return -1;
            const int fd = e.next++;
            e.open[fd] = 0;
            return fd;
        }
    }
    return _open(path, oflag, pmode);
}

unsigned ReadCabinetFile(int fd, void* data, unsigned size) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        const auto it = e.open.find(fd);
        if (it != e.open.end()) {
            const int64_t left = e.length - it->second;
            if (left < int64_t(size)) size = left > 0 ? static_cast<unsigned>(left) : 0;
            const DWORD got = size ? ReadAt(e.file, e.offset + it->second, data, size) : 0;
            it->second += got;
            return got;
        }
    }
    return static_cast<unsigned>(_read(fd, data, size));
}

long SeekCabinetFile(int fd, long distance, int origin) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        const auto it = e.open.find(fd);
        if (it != e.open.end()) {
            int64_t target = distance;
            if (origin == SEEK_CUR) target += it->second;
            else if (origin == SEEK_END) target += e.length;
            if (target < 0 || target > e.length) return -1;
            it->second = target;
            return static_cast<long>(target);
        }
    }
    return _lseek(fd, distance, origin);
}

int CloseCabinetFile(int fd) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        if (e.open.erase(fd)) return 0;
    }
    return _close(fd);
}

}  // namespace cabinet

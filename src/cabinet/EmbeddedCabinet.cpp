#include "cabinet/EmbeddedCabinet.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <mutex>
#include <set>

#include "util/Text.h"

namespace cabinet {

namespace {

struct Embedded {
    std::mutex lock;
    std::string path;
    std::wstring file;
    int64_t offset = 0;
    int64_t length = 0;
    std::set<int> open;  // descriptors of the file opened for the cabinet
};

Embedded& TheEmbedded() {
    static Embedded embedded;
    return embedded;
}

bool IsEmbedded(int fd, int64_t& offset, int64_t& length) {
    Embedded& e = TheEmbedded();
    std::lock_guard<std::mutex> guard(e.lock);
    if (!e.open.count(fd)) return false;
    offset = e.offset;
    length = e.length;
    return true;
}

}  // namespace

void SetEmbeddedCabinet(const std::string& cabinetPath, const std::wstring& file, uint64_t offset, uint64_t length) {
    Embedded& e = TheEmbedded();
    std::lock_guard<std::mutex> guard(e.lock);
    e.path = cabinetPath;
    e.file = file;
    e.offset = static_cast<int64_t>(offset);
    e.length = static_cast<int64_t>(length);
}

int OpenCabinetFile(const char* path, int oflag, int pmode) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        if (!e.path.empty() && util::text::EqualsIgnoringAsciiCase(e.path, path)) {
            const int fd = _wopen(e.file.c_str(), _O_BINARY | _O_RDONLY | _O_SEQUENTIAL);
            if (fd != -1 && _lseeki64(fd, e.offset, SEEK_SET) != e.offset) {
                _close(fd);
                return -1;
            }
            if (fd != -1) e.open.insert(fd);
            return fd;
        }
    }
    return _open(path, oflag, pmode);
}

unsigned ReadCabinetFile(int fd, void* data, unsigned size) {
    int64_t offset = 0, length = 0;
    if (IsEmbedded(fd, offset, length)) {
        const int64_t left = offset + length - _lseeki64(fd, 0, SEEK_CUR);
        if (left < int64_t(size)) size = left > 0 ? static_cast<unsigned>(left) : 0;
    }
    return static_cast<unsigned>(_read(fd, data, size));
}

long SeekCabinetFile(int fd, long distance, int origin) {
    int64_t offset = 0, length = 0;
    if (!IsEmbedded(fd, offset, length)) return _lseek(fd, distance, origin);
    int64_t target = distance;
    if (origin == SEEK_CUR) target += _lseeki64(fd, 0, SEEK_CUR) - offset;
    else if (origin == SEEK_END) target += length;
    if (target < 0 || target > length) return -1;
    return _lseeki64(fd, offset + target, SEEK_SET) == offset + target ? static_cast<long>(target) : -1;
}

int CloseCabinetFile(int fd) {
    Embedded& e = TheEmbedded();
    {
        std::lock_guard<std::mutex> guard(e.lock);
        e.open.erase(fd);
    }
    return _close(fd);
}

}  // namespace cabinet

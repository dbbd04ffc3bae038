#include "install/registration/SingleFileCabinet.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "core/PackageLocation.h"
#include "core/Trace.h"
#include "core/WideText.h"
#include "install/registration/SetupCache.h"

namespace install::setupcache {

namespace {

namespace block = core::packageblock;

constexpr size_t kBufferSize = 1u << 20;

class HandleGuard {
public:
    explicit HandleGuard(HANDLE h) : h_(h) {}
    ~HandleGuard() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

// The single file, read at offsets.
class FileSource : public block::RandomSource {
public:
    FileSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, unsigned char* data, size_t size) override {
        while (size > 0) {
            OVERLAPPED at = {};
            at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
            at.OffsetHigh = static_cast<DWORD>(offset >> 32);
            DWORD got = 0;
            const DWORD ask = static_cast<DWORD>(size < kBufferSize ? size : kBufferSize);
            if (!ReadFile(file_, data, ask, &got, &at) || got == 0) return false;
            data += got;
            offset += got;
            size -= got;
        }
        return true;
    }

private:
    HANDLE file_;
    uint64_t size_;
};

bool CopyEntry(FileSource& source, const block::Entry& entry, const std::string& to) {
    HandleGuard out(CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.Get() == INVALID_HANDLE_VALUE) {
        core::trace::Failure("CreateFileA (cabinet for repair)", to, GetLastError());
        return false;
    }
    std::vector<unsigned char> buffer(kBufferSize);
    for (uint64_t done = 0; done < entry.size;) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(entry.size - done, buffer.size()));
        DWORD written = 0;
        if (!source.ReadAt(entry.offset + done, buffer.data(), piece) ||
            !WriteFile(out.Get(), buffer.data(), static_cast<DWORD>(piece), &written, nullptr) || written != piece) {
            core::trace::Failure("copy (cabinet for repair)", to, GetLastError());
            return false;
        }
        done += piece;
    }
    return true;
}

}  // namespace

bool CopyCabinetFromSingleFile(const std::wstring& file, const std::string& to) {
    const std::string name = core::wide::ToCodePage(file, CP_UTF8);
    HandleGuard in(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (in.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(in.Get(), &size)) {
        core::trace::Failure("CreateFileW (single file for repair)", name, GetLastError());
        return false;
    }
    FileSource source(in.Get(), static_cast<uint64_t>(size.QuadPart));
    core::pe::Layout layout;
    const block::Found found = block::LocateBlock(source, layout);
    block::Entry entry;
    const std::string problem = found.kind != block::Found::kBlock
        ? (found.kind == block::Found::kNone ? "no package block" : found.problem)
        : block::FindEntry(source, found.trailer, GetACP(), kCabinet, entry);
    if (!problem.empty()) {
        core::trace::Value("single file holds no cabinet for repair", name + ": " + problem);
        return false;
    }
    return CopyEntry(source, entry, to);
}

}  // namespace install::setupcache

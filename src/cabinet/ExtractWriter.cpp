#include "cabinet/ExtractWriter.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstring>
#include <new>

namespace cabinet {

namespace {

// Tokens stand apart from the descriptors the runtime hands out (small
// numbers counted from 0).
constexpr INT_PTR kTokenBase = 0x40000000;
constexpr uint32_t kTokenSpan = 0x3FFFFFFF;

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;  // 0x27

}  // namespace

ExtractWriter::ExtractWriter(ExtractListener& listener, bool threaded, size_t maxPendingBytes)
    : listener_(listener), maxPending_(maxPendingBytes) {
    // Without a thread every operation is carried out as it is handed over.
    if (threaded) thread_ = CreateThread(nullptr, 0, &ExtractWriter::ThreadEntry, this, 0, nullptr);
}

ExtractWriter::~ExtractWriter() {
    if (thread_) {
        AcquireSRWLockExclusive(&lock_);
        stopping_ = true;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseOutput();
}

bool ExtractWriter::IsToken(INT_PTR handle) {
    return handle >= kTokenBase && handle <= kTokenBase + static_cast<INT_PTR>(kTokenSpan);
}

bool ExtractWriter::Failed() const {
    AcquireSRWLockShared(&lock_);
    const bool failed = failed_;
    ReleaseSRWLockShared(&lock_);
    return failed;
}

// ---- Decompressor's thread ------------------------------------------------------

INT_PTR ExtractWriter::Begin(const std::string& path) {
    Operation op{Kind::Begin};
    try {
        op.path = path;
    } catch (const std::bad_alloc&) {
        return -1;  // the library stops the extraction
    }
    if (!Submit(std::move(op))) return -1;
    sequence_ = sequence_ % kTokenSpan + 1;
    token_ = kTokenBase + sequence_;
    return token_;
}

void ExtractWriter::NextFile() { Submit(Operation{Kind::Next}); }

void ExtractWriter::Skip() { Submit(Operation{Kind::Skip}); }

bool ExtractWriter::Write(INT_PTR token, const void* data, unsigned size) {
    if (token != token_) return false;
    if (size == 0) return !Failed();
    Operation op{Kind::Data};
    op.data.reset(new (std::nothrow) char[size]);
    if (!op.data) return false;
    std::memcpy(op.data.get(), data, size);
    op.size = size;
    return Submit(std::move(op));
}

bool ExtractWriter::End(INT_PTR token, uint16_t date, uint16_t time, uint16_t attributes) {
    if (token != token_) return false;
    token_ = -1;
    Operation op{Kind::End};
    op.date = date;
    op.time = time;
    op.attributes = attributes;
    return Submit(std::move(op));
}

void ExtractWriter::Close(INT_PTR token) {
    if (token != token_) return;
    token_ = -1;
    Submit(Operation{Kind::Close});
}

// Queues an operation, waiting while too much data is pending. False once the
// writer has failed: the operation is dropped.
bool ExtractWriter::Submit(Operation op) {
    if (!thread_) {
        if (failed_) return false;
        Carry(op);
        return !failed_;
    }
    AcquireSRWLockExclusive(&lock_);
    while (!failed_ && pendingBytes_ != 0 && pendingBytes_ + op.size > maxPending_)
        SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    bool failed = failed_;
    if (!failed) {
        try {
            queue_.push_back(std::move(op));
            pendingBytes_ += queue_.back().size;
        } catch (const std::bad_alloc&) {
            failed = failed_ = true;  // out of memory: the extraction stops
        }
    }
    const bool wake = !failed && writerIdle_;
    ReleaseSRWLockExclusive(&lock_);
    if (wake) WakeAllConditionVariable(&changed_);
    return !failed;
}

bool ExtractWriter::Drain() {
    if (!thread_) return !failed_;
    AcquireSRWLockExclusive(&lock_);
    while (!queue_.empty() || busy_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    const bool failed = failed_;
    ReleaseSRWLockExclusive(&lock_);
    return !failed;
}

void ExtractWriter::RemoveUnfinished() {
    Drain();
    CloseOutput();
    if (current_.empty()) return;
    SetFileAttributesA(current_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(current_.c_str());
    current_.clear();
}

// ---- Writer's thread ---------------------------------------------------------------

DWORD WINAPI ExtractWriter::ThreadEntry(void* self) {
    static_cast<ExtractWriter*>(self)->Run();
    return 0;
}

// Takes everything queued at once, so the threads meet once per batch rather
// than once per operation.
void ExtractWriter::Run() {
    std::deque<Operation> batch;
    AcquireSRWLockExclusive(&lock_);
    for (;;) {
        while (queue_.empty() && !stopping_) {
            writerIdle_ = true;
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            writerIdle_ = false;
        }
        if (queue_.empty()) break;  // stopping, with nothing left
        batch.swap(queue_);
        busy_ = true;
        ReleaseSRWLockExclusive(&lock_);
        size_t bytes = 0;
        for (Operation& op : batch) {
            if (!Failed()) Carry(op);
            bytes += op.size;
        }
        batch.clear();
        AcquireSRWLockExclusive(&lock_);
        pendingBytes_ -= bytes;
        busy_ = false;
        WakeAllConditionVariable(&changed_);
    }
    ReleaseSRWLockExclusive(&lock_);
}

void ExtractWriter::Carry(Operation& op) {
    bool ok = true;
    switch (op.kind) {
        case Kind::Next:
            FinishPrevious();
            break;
        case Kind::Begin:
            ok = CreateOutput(op.path);
            break;
        case Kind::Skip:
            FinishPrevious();
            listener_.FileSkipped();
            break;
        case Kind::Data:
            WriteOutput(op);
            ok = fd_ != -1;
            break;
        case Kind::End:
            EndOutput(op);
            break;
        case Kind::Close:
            CloseOutput();  // the path stays: the file may be incomplete
            break;
    }
    if (!ok) {
        AcquireSRWLockExclusive(&lock_);
        failed_ = true;
        ReleaseSRWLockExclusive(&lock_);
    }
}

// Creating a file in a big folder is the costly part under some systems, so a
// new file costs one search of the folder. A file of the same name written
// earlier is replaced, made writable first when it is read-only.
bool ExtractWriter::CreateOutput(const std::string& path) {
    FinishPrevious();
    const int flags = _O_BINARY | _O_CREAT | _O_WRONLY | _O_SEQUENTIAL;
    int fd = _open(path.c_str(), flags | _O_EXCL, _S_IREAD | _S_IWRITE);
    currentIsNew_ = fd != -1;
    if (fd == -1) {
        const DWORD attrs = GetFileAttributesA(path.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) &&
            !(attrs & FILE_ATTRIBUTE_DIRECTORY))
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        fd = _open(path.c_str(), flags | _O_TRUNC, _S_IREAD | _S_IWRITE);
    }
    if (fd == -1) return false;
    fd_ = fd;
    current_ = path;
    listener_.FileCreated();
    return true;
}

void ExtractWriter::WriteOutput(const Operation& op) {
    if (fd_ == -1) return;
    const char* p = op.data.get();
    unsigned left = op.size;
    while (left > 0) {
        const int n = _write(fd_, p, left);
        if (n <= 0) {
            CloseOutput();  // the path stays, to be removed
            return;
        }
        p += n;
        left -= static_cast<unsigned>(n);
    }
}

void ExtractWriter::EndOutput(const Operation& op) {
    if (fd_ != -1) {
        // The date goes on through the open file, which saves opening it again.
        FILETIME local, utc;
        if (DosDateTimeToFileTime(op.date, op.time, &local) && LocalFileTimeToFileTime(&local, &utc)) {
            HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd_));
            if (h != INVALID_HANDLE_VALUE) SetFileTime(h, &utc, nullptr, &utc);
        }
        CloseOutput();
    }
    if (current_.empty()) return;
    // A new file already carries the archive attribute alone, the common case.
    const DWORD attrs = op.attributes & kKeptAttributes;
    if (!currentIsNew_ || attrs != FILE_ATTRIBUTE_ARCHIVE)
        SetFileAttributesA(current_.c_str(), attrs ? attrs : FILE_ATTRIBUTE_NORMAL);
}

// The library moved on: the previous file is done with. Until then it counts
// as unfinished, since the library may report a damaged cabinet only after it
// closed the file it was writing.
void ExtractWriter::FinishPrevious() {
    CloseOutput();
    current_.clear();
}

void ExtractWriter::CloseOutput() {
    if (fd_ == -1) return;
    _close(fd_);
    fd_ = -1;
}

}  // namespace cabinet

// Writes the files of a cabinet extraction on a thread of its own, so that
// the decompressor's thread only decompresses. Creating, dating and closing a
// file each wait for the system; done on the decompressor's thread those
// waits stop the decompression, done here they overlap it.
//
// The decompressor's thread hands over, in cabinet order, every file's start
// (its output path), its data, and its end (date, time, attributes); the
// writer carries them out in the same order. Instead of a descriptor the
// decompressor gets a token for the file. When the writer fails (a file that
// cannot be created or written), every later call on the decompressor's side
// reports the failure, so the extraction stops, and nothing handed over after
// it is written.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

namespace cabinet {

// Told, on the writer's thread and in cabinet order, about each file handled.
class ExtractListener {
public:
    virtual ~ExtractListener() = default;
    // A file was created and is about to receive its data.
    virtual void FileCreated() = 0;
    // A file was skipped (its name could not be used).
    virtual void FileSkipped() = 0;
};

class ExtractWriter {
public:
    // threaded: carry the operations out on a thread of the writer's own;
    // otherwise each is carried out at once on the caller's thread (needed
    // when the listener sends messages to windows of the caller's thread,
    // which would not be served while it waits). maxPendingBytes: data handed
    // over but not yet written; the decompressor's thread waits when more
    // would be pending.
    ExtractWriter(ExtractListener& listener, bool threaded, size_t maxPendingBytes = 1u << 20);
    ~ExtractWriter();
    ExtractWriter(const ExtractWriter&) = delete;
    ExtractWriter& operator=(const ExtractWriter&) = delete;

    // Whether a handle given to the decompressor is one of this writer's tokens.
    static bool IsToken(INT_PTR handle);

    // ---- Decompressor's thread ----
    // The library moves on to the next file of the cabinet (to be started or
    // skipped): the previous one no longer counts as unfinished.
    void NextFile();
    // A file starts: returns its token, or -1 when the writer has failed.
    INT_PTR Begin(const std::string& path);
    // A file of the cabinet is skipped.
    void Skip();
    // Data for the file of `token`; false when the writer has failed.
    bool Write(INT_PTR token, const void* data, unsigned size);
    // The file is complete: date it (DOS date and time, local), close it and
    // give it the attributes (masked to read-only, hidden, system, archive).
    bool End(INT_PTR token, uint16_t date, uint16_t time, uint16_t attributes);
    // The decompressor closed the file without completing it.
    void Close(INT_PTR token);

    // Waits until everything handed over has been carried out. True when
    // every file was written.
    bool Drain();
    // After Drain, for a failed extraction: closes and deletes the last file
    // started, unless the library moved on to another file since (complete or
    // not: the library may report the damage after it closed the file), if any.
    void RemoveUnfinished();

private:
    enum class Kind { Next, Begin, Skip, Data, End, Close };
    struct Operation {
        Kind kind;
        std::string path;                  // Begin
        std::unique_ptr<char[]> data;      // Data
        unsigned size = 0;                 // Data
        uint16_t date = 0, time = 0, attributes = 0;  // End
    };

    bool Submit(Operation op);
    void Run();
    void Carry(Operation& op);
    bool CreateOutput(const std::string& path);
    void WriteOutput(const Operation& op);
    void EndOutput(const Operation& op);
    void CloseOutput();
    void FinishPrevious();
    bool Failed() const;

    ExtractListener& listener_;
    const size_t maxPending_;

    // Shared between the threads, under lock_. The system's slim locks and
    // condition variables wait without a round trip to the system when
    // nobody has to wake up.
    mutable SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::deque<Operation> queue_;
    size_t pendingBytes_ = 0;
    bool busy_ = false;        // the writer is carrying out a batch
    bool writerIdle_ = false;  // the writer waits for work
    bool stopping_ = false;
    bool failed_ = false;

    // The decompressor's side.
    INT_PTR token_ = -1;     // token of the file being handed over
    uint32_t sequence_ = 0;

    // The writer's side: the file being written.
    int fd_ = -1;
    std::string current_;    // its path, until the next file starts
    bool currentIsNew_ = false;

    HANDLE thread_ = nullptr;  // none: operations are carried out at once
    static DWORD WINAPI ThreadEntry(void* self);
};

}  // namespace cabinet

// The Win32 ends of a single-file setup's package block: the program's own
// file read from an offset on, and the private folder the entries are
// written into. Thin helpers; the block's rules are core/PackageBlock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/PackageBlock.h"
#include "core/PackageLocation.h"

namespace control::package {

// The program's own file, the very file it runs from (control/OwnImageRules.h),
// opened for reading and held without FILE_SHARE_DELETE: while it is held,
// no one renames it, deletes it or puts another file at its name.
class OwnFile : public core::packageblock::Source, public core::packageblock::RandomSource {
public:
    enum class State { kOpen, kNotOpened, kNotTheImage };
    OwnFile();
    ~OwnFile() override;
    OwnFile(const OwnFile&) = delete;
    OwnFile& operator=(const OwnFile&) = delete;

    // kNotOpened (traced): nothing could be read; kNotTheImage (traced): the
    // file at the program's name is not the one that runs, and is closed.
    State Opened() const { return state_; }
    bool IsOpen() const { return state_ == State::kOpen; }
    // The held file, for readers with a position of their own (ReOpenFile).
    HANDLE Handle() const { return file_; }
    // The image's name as the system gives it, for messages.
    const std::wstring& Name() const { return name_; }
    uint64_t Size() const override { return size_; }
    // Reads exactly `size` bytes at `offset`; later Read calls go on from there.
    bool ReadAt(uint64_t offset, unsigned char* data, size_t size) override;
    bool Read(unsigned char* data, size_t size) override;

private:
    void Close();

    std::wstring name_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    State state_ = State::kNotOpened;
    uint64_t size_ = 0;
};

// Writes entries below `folder` (trailing backslash): the folders on their
// way are made, every file is new (CREATE_NEW: nothing in the folder is
// ever opened that the unpacking did not make). Failures are traced.
class FolderWriter : public core::packageblock::Sink {
public:
    explicit FolderWriter(std::string folder) : folder_(std::move(folder)) {}
    ~FolderWriter() override { Close(); }
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    bool Open(const core::packageblock::Entry& entry) override;
    bool Write(const unsigned char* data, size_t size) override;
    bool Close() override;
    bool Progress(uint64_t, uint64_t) override { return true; }

private:
    std::string folder_;
    std::string path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

}  // namespace control::package

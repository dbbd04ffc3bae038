// The thread that writes extracted files: order, data larger than its buffer,
// failures reported back to the decompressor's side, the unfinished file.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "cabinet/ExtractWriter.h"

namespace {

using cabinet::ExtractWriter;

// Records the order of the writer's reports ('c' created, 's' skipped).
struct Recorder : cabinet::ExtractListener {
    std::string events;
    void FileCreated() override { events += 'c'; }
    void FileSkipped() override { events += 's'; }
};

std::string Pattern(size_t size, unsigned seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + seed * 7 + i / 4093) & 0xFF);
    return s;
}

// Hands a whole file over in chunks of `chunk` bytes.
bool WriteWhole(ExtractWriter& w, const std::string& path, const std::string& data, size_t chunk,
                uint16_t attributes = 0x20) {
    INT_PTR t = w.Begin(path);
    if (t == -1) return false;
    for (size_t pos = 0; pos < data.size(); pos += chunk) {
        const size_t n = std::min(chunk, data.size() - pos);
        if (!w.Write(t, data.data() + pos, static_cast<unsigned>(n))) return false;
    }
    return w.End(t, 0x5264 /* 2021-03-04 */, 0x28C4 /* 05:06:08 */, attributes);
}

// The cases run with the writer's own thread and without it, each time in a
// folder of its own.
struct ModeFolder {
    std::string path;
    ModeFolder(const ScratchFolder& scratch, bool threaded)
        : path(scratch.Path() + (threaded ? "threaded\\" : "inline\\")) {
        CreateDirectoryA(path.c_str(), nullptr);
    }
    std::string Path() const { return path; }
};

#define BOTH_MODES(Suite, Name)                                  \
    void Name##Case(bool threaded, const ModeFolder& dir);       \
    TEST(Suite, Name) {                                          \
        ScratchFolder scratch;                                   \
        for (bool threaded : {true, false}) {                    \
            SCOPED_TRACE(threaded ? "threaded" : "inline");      \
            Name##Case(threaded, ModeFolder(scratch, threaded)); \
        }                                                        \
    }                                                            \
    void Name##Case(bool threaded, const ModeFolder& dir)


BOTH_MODES(ExtractWriter, FilesArriveWholeAndInOrder) {
    Recorder r;
    std::vector<std::string> contents;
    {
        // A small buffer, so that the decompressor's side has to wait for the writer.
        ExtractWriter w(r, threaded, 64 * 1024);
        for (unsigned i = 0; i < 40; ++i) {
            contents.push_back(Pattern(1000 + i * 9000, i));
            if (i % 10 == 5) w.Skip();
            ASSERT_TRUE(WriteWhole(w, dir.Path() + "f" + std::to_string(i), contents.back(), 32768));
        }
        // One file far larger than the buffer.
        contents.push_back(Pattern(3 * 1024 * 1024 + 17, 99));
        ASSERT_TRUE(WriteWhole(w, dir.Path() + "big", contents.back(), 32768));
        EXPECT_TRUE(w.Drain());
    }
    for (unsigned i = 0; i < 40; ++i)
        EXPECT_EQ(ScratchFolder::Read(dir.Path() + "f" + std::to_string(i)), contents[i]) << i;
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "big"), contents.back());
    std::string expected;
    for (unsigned i = 0; i < 40; ++i) expected += (i % 10 == 5) ? "sc" : "c";
    EXPECT_EQ(r.events, expected + "c");
}

BOTH_MODES(ExtractWriter, FailureStopsEverythingHandedOverAfterIt) {
    Recorder r;
    ExtractWriter w(r, threaded);
    ASSERT_TRUE(WriteWhole(w, dir.Path() + "before.txt", "kept", 4));
    // A folder of that name cannot be opened as a file.
    CreateDirectoryA((dir.Path() + "blocked").c_str(), nullptr);
    const INT_PTR t = w.Begin(dir.Path() + "blocked");
    if (t != -1) w.Write(t, "x", 1);  // the failure may not be known yet
    EXPECT_FALSE(w.Drain());
    EXPECT_EQ(w.Begin(dir.Path() + "after.txt"), -1);
    w.Skip();
    EXPECT_FALSE(w.Drain());
    w.RemoveUnfinished();
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "before.txt"), "kept");
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "after.txt"));
    EXPECT_TRUE(GetFileAttributesA((dir.Path() + "blocked").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(r.events, "c");
}

BOTH_MODES(ExtractWriter, UnfinishedFileIsRemovedAndEarlierOnesKept) {
    Recorder r;
    ExtractWriter w(r, threaded);
    ASSERT_TRUE(WriteWhole(w, dir.Path() + "done.txt", "complete", 3));
    const INT_PTR t = w.Begin(dir.Path() + "partial.bin");
    ASSERT_NE(t, -1);
    ASSERT_TRUE(w.Write(t, "half", 4));
    w.Close(t);  // closed by the library without its end
    EXPECT_TRUE(w.Drain());
    w.RemoveUnfinished();
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "partial.bin"));
    EXPECT_EQ(ScratchFolder::Read(dir.Path() + "done.txt"), "complete");
}

BOTH_MODES(ExtractWriter, ReadOnlyFileOfTheSameNameIsReplaced) {
    const std::string path = dir.Path() + "same.txt";
    std::ofstream(path, std::ios::binary) << "the old, longer content";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Recorder r;
    {
        ExtractWriter w(r, threaded);
        ASSERT_TRUE(WriteWhole(w, path, "new", 2, 0x21));
        EXPECT_TRUE(w.Drain());
    }
    EXPECT_EQ(ScratchFolder::Read(path), "new");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ExtractWriter, TokensAreNotDescriptorsAndBelongToTheirFile) {
    EXPECT_FALSE(ExtractWriter::IsToken(0));
    EXPECT_FALSE(ExtractWriter::IsToken(3));
    EXPECT_FALSE(ExtractWriter::IsToken(-1));
    ScratchFolder dir;
    Recorder r;
    ExtractWriter w(r, true);
    const INT_PTR t = w.Begin(dir.Path() + "a.txt");
    EXPECT_TRUE(ExtractWriter::IsToken(t));
    EXPECT_FALSE(w.Write(t + 1, "x", 1));
    EXPECT_FALSE(w.End(t + 1, 0, 0, 0x20));
    EXPECT_TRUE(w.Write(t, "x", 1));
    EXPECT_TRUE(w.End(t, 0, 0, 0x20));
    EXPECT_FALSE(w.Write(t, "late", 4));  // the file has ended
    EXPECT_TRUE(w.Drain());
}

}  // namespace

// Cabinet extraction against the system's cabinet library, with cabinets
// written by the test itself (stored, no compression), and the name rules.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "cabinet/CabinetExtract.h"
#include "cabinet/CabinetNames.h"
#include "cabinet/EmbeddedCabinet.h"
#include "core/CodePage.h"
#include "core/WorkingFolder.h"

namespace {

// ---- A small writer of stored cabinets -----------------------------------------

struct CabEntry {
    std::string name;
    std::string data;
    uint16_t attribs = 0x20;
    uint16_t date = 0;
    uint16_t time = 0;
};

void Put16(std::string& s, uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

void Put32(std::string& s, uint32_t v) {
    Put16(s, static_cast<uint16_t>(v & 0xFFFF));
    Put16(s, static_cast<uint16_t>(v >> 16));
}

uint16_t DosDate(int year, int month, int day) {
    return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

uint16_t DosTime(int hour, int minute, int second) {
    return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}

// One folder, no compression, data blocks of at most 32 KiB without checksums.
std::string BuildCabinet(const std::vector<CabEntry>& entries) {
    std::string all;
    for (const CabEntry& e : entries) all += e.data;
    std::string files;
    uint32_t offset = 0;
    for (const CabEntry& e : entries) {
        Put32(files, static_cast<uint32_t>(e.data.size()));
        Put32(files, offset);
        Put16(files, 0);
        Put16(files, e.date);
        Put16(files, e.time);
        Put16(files, e.attribs);
        files += e.name;
        files += '\0';
        offset += static_cast<uint32_t>(e.data.size());
    }
    std::string blocks;
    uint16_t blockCount = 0;
    for (size_t pos = 0; pos < all.size(); pos += 32768) {
        std::string chunk = all.substr(pos, 32768);
        Put32(blocks, 0);
        Put16(blocks, static_cast<uint16_t>(chunk.size()));
        Put16(blocks, static_cast<uint16_t>(chunk.size()));
        blocks += chunk;
        ++blockCount;
    }
    const uint32_t headerSize = 36, folderSize = 8;
    const uint32_t coffFiles = headerSize + folderSize;
    const uint32_t coffData = coffFiles + static_cast<uint32_t>(files.size());
    std::string cab = "MSCF";
    Put32(cab, 0);
    Put32(cab, coffData + static_cast<uint32_t>(blocks.size()));
    Put32(cab, 0);
    Put32(cab, coffFiles);
    Put32(cab, 0);
    cab += '\x03';
    cab += '\x01';
    Put16(cab, 1);  // folders
    Put16(cab, static_cast<uint16_t>(entries.size()));
    Put16(cab, 0);       // flags
    Put16(cab, 0x4321);  // set
    Put16(cab, 0);       // cabinet index
    Put32(cab, coffData);
    Put16(cab, blockCount);
    Put16(cab, 0);  // no compression
    return cab + files + blocks;
}

// Records what the extraction reports.
struct RecordingProgress : cabinet::ExtractProgress {
    std::vector<int> ranges;
    std::vector<int> positions;
    void SetRange(int n) override { ranges.push_back(n); }
    void SetPosition(int n) override { positions.push_back(n); }
};

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// The read-only, hidden, system and archive bits of a file equal `expected`.
// Wine reports the archive bit on every file, so its presence is only
// required, never refused.
::testing::AssertionResult HasAttributes(const std::string& path, DWORD expected) {
    const DWORD a = Attributes(path);
    if (a == INVALID_FILE_ATTRIBUTES) return ::testing::AssertionFailure() << path << " missing";
    const DWORD kept = a & 0x27;
    const bool ok = (kept & ~0x20u) == (expected & ~0x20u) && (!(expected & 0x20) || (kept & 0x20));
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << path << " has 0x" << std::hex << a << ", expected 0x" << expected;
}

// Creation and last-write time of a file, as local DOS date and time.
bool FileDosTimes(const std::string& path, WORD& cDate, WORD& cTime, WORD& wDate, WORD& wTime) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    FILETIME c, a, w, lc, lw;
    bool ok = GetFileTime(h, &c, &a, &w) && FileTimeToLocalFileTime(&c, &lc) &&
              FileTimeToLocalFileTime(&w, &lw) && FileTimeToDosDateTime(&lc, &cDate, &cTime) &&
              FileTimeToDosDateTime(&lw, &wDate, &wTime);
    CloseHandle(h);
    return ok;
}

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do {
        if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &f));
    FindClose(h);
    return n;
}

struct CabinetCase {
    ScratchFolder dir;
    std::string cab = dir.Path() + "file1.cab";
    std::string out = dir.Path() + "work\\";
    std::string outside = dir.Path();  // the folder the output folder lies in
    CabinetCase() { CreateDirectoryA(out.c_str(), nullptr); }
};

// ---- Paths ------------------------------------------------------------------------

TEST(CabinetPaths, PayloadCabinetBesideTheSetup) {
    EXPECT_EQ(cabinet::PayloadCabinetPath("C:\\Setup\\"), "C:\\Setup\\file1.cab");
}

// ---- Status codes ----------------------------------------------------------------

TEST(CabinetExtract, MissingCabinetGivesStatus2) {
    CabinetCase c;
    RecordingProgress p;
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, &p));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusOpenFailed);
    EXPECT_EQ(cabinet::FilesExtracted(), 0);
    EXPECT_EQ(cabinet::CabinetFileCount(), -1);
    EXPECT_TRUE(p.ranges.empty());
    EXPECT_EQ(CountFiles(c.out), 0);
}

TEST(CabinetExtract, FileOfAnotherFormatGivesStatus3) {
    CabinetCase c;
    c.dir.Write("file1.cab", "PK\x03\x04 this is not a cabinet at all, only some text");
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusNotCabinet);
    EXPECT_EQ(CountFiles(c.out), 0);
    c.dir.Write("file1.cab", "");
    EXPECT_EQ(cabinet::RunExtraction(c.cab, c.out, nullptr), cabinet::kStatusNotCabinet);
}

TEST(CabinetExtract, OutputFolderThatDoesNotFitIsRefused) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"a.txt", "A"}}));
    EXPECT_EQ(cabinet::RunExtraction(c.cab, std::string(cabinet::kOutputFolderSize, 'x'), nullptr),
              cabinet::kStatusExtractFailed);
    EXPECT_EQ(cabinet::RunExtraction(c.cab, "", nullptr), cabinet::kStatusExtractFailed);
    EXPECT_EQ(cabinet::FilesExtracted(), 0);
    // 255 characters with the backslash added fit the buffer; such a folder
    // does not exist, so the file cannot be created: still status 4.
    EXPECT_EQ(cabinet::RunExtraction(c.cab, c.outside + std::string(254 - c.outside.size(), 'y'), nullptr),
              cabinet::kStatusExtractFailed);
}

TEST(CabinetExtract, OverlongCabinetPathGivesStatus2) {
    CabinetCase c;
    EXPECT_EQ(cabinet::RunExtraction(c.dir.Path() + std::string(300, 'c') + ".cab", c.out, nullptr),
              cabinet::kStatusOpenFailed);
}

// ---- Extraction -------------------------------------------------------------------

TEST(CabinetExtract, StoredFoldersAreDroppedAndPayloadFilesGrouped) {
    CabinetCase c;
    std::string big(100000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
    c.dir.Write("file1.cab", BuildCabinet({{"F0_readme.txt", "hello"},
                                           {"sub\\deeper\\F1_data.bin", big},
                                           {"other/F2_x.txt", "slash"},
                                           {"setup.inf", "working file"}}));
    RecordingProgress p;
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, &p));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusSuccess);
    // Payload files go to their group folder, other files stay at the top.
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F0_readme.txt"), "hello");
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F1_data.bin"), big);
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F2_x.txt"), "slash");
    EXPECT_EQ(ScratchFolder::Read(c.out + "setup.inf"), "working file");
    EXPECT_EQ(CountFiles(c.out), 1);
    EXPECT_EQ(CountFiles(c.out + "cvp0\\"), 3);
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "sub"));
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "other"));
    EXPECT_EQ(cabinet::FilesExtracted(), 4);
    EXPECT_EQ(cabinet::FilesSkipped(), 0);
    EXPECT_EQ(cabinet::CabinetFileCount(), 4);
    EXPECT_EQ(p.ranges, (std::vector<int>{4}));
    EXPECT_EQ(p.positions, (std::vector<int>{1, 2, 3, 4}));
}

TEST(CabinetExtract, LargeFileAndManySmallOnesArriveWholeWithOrderedProgress) {
    CabinetCase c;
    std::vector<CabEntry> entries;
    std::string big(6 * 1024 * 1024 + 5, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 13 + i / 65521);
    entries.push_back({"F0_big.bin", big});
    for (int i = 1; i <= 300; ++i)
        entries.push_back({"F" + std::to_string(i) + "_s.txt", "small " + std::to_string(i)});
    c.dir.Write("file1.cab", BuildCabinet(entries));
    RecordingProgress p;
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, &p));
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F0_big.bin"), big);
    for (int i = 1; i <= 300; ++i) {
        const std::string name = "F" + std::to_string(i) + "_s.txt";
        EXPECT_EQ(ScratchFolder::Read(core::ExtractedFilePath(c.out, name)), "small " + std::to_string(i));
    }
    EXPECT_EQ(CountFiles(c.out + "cvp0\\"), 128);
    EXPECT_EQ(CountFiles(c.out + "cvp1\\"), 128);
    EXPECT_EQ(CountFiles(c.out + "cvp2\\"), 45);
    EXPECT_EQ(CountFiles(c.out), 0);
    EXPECT_EQ(cabinet::FilesExtracted(), 301);
    ASSERT_EQ(p.positions.size(), 301u);
    for (size_t i = 0; i < p.positions.size(); ++i) EXPECT_EQ(p.positions[i], static_cast<int>(i) + 1);
}

TEST(CabinetExtract, FileThatCannotBeCreatedStopsTheRest) {
    CabinetCase c;
    CreateDirectoryA((c.out + "blocked.txt").c_str(), nullptr);
    c.dir.Write("file1.cab", BuildCabinet({{"a.txt", "first"}, {"blocked.txt", "x"}, {"c.txt", "third"}}));
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    EXPECT_EQ(ScratchFolder::Read(c.out + "a.txt"), "first");
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "c.txt"));
    EXPECT_EQ(cabinet::FilesExtracted(), 1);
}

TEST(CabinetExtract, GroupFolderThatCannotBeMadeStopsTheExtraction) {
    CabinetCase c;
    c.dir.Write("work\\cvp0", "a file where the group folder belongs");
    c.dir.Write("file1.cab", BuildCabinet({{"setup.inf", "top"}, {"F0_app.exe", "payload"}}));
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    EXPECT_EQ(ScratchFolder::Read(c.out + "setup.inf"), "top");
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0"), "a file where the group folder belongs");
}

TEST(CabinetExtract, OutputFolderWithoutBackslashGetsOne) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"a.txt", "A"}}));
    std::string folder = c.out.substr(0, c.out.size() - 1);
    EXPECT_TRUE(cabinet::ExtractCabinet(c.cab, folder, nullptr));
    EXPECT_EQ(ScratchFolder::Read(c.out + "a.txt"), "A");
}

TEST(CabinetExtract, LaterFileOfTheSameNameOverwritesTheEarlierOne) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"one\\same.txt", "the longer first content", 0x21},
                                           {"two\\same.txt", "short", 0x20}}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(ScratchFolder::Read(c.out + "same.txt"), "short");
    EXPECT_TRUE(HasAttributes(c.out + "same.txt", 0x20));
    EXPECT_EQ(CountFiles(c.out), 1);
    EXPECT_EQ(cabinet::FilesExtracted(), 2);
}

// Names that cannot be used are skipped, the other files written, and the
// extraction fails: a file is missing.
TEST(CabinetExtract, NamesCannotLeaveTheOutputFolder) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"..\\..\\escape1.txt", "1"},
                                           {"../escape2.txt", "2"},
                                           {"C:\\escape3.txt", "3"},
                                           {"C:escape4.txt", "4"},
                                           {"\\\\server\\share\\escape5.txt", "5"},
                                           {"sub\\..", "dots"},
                                           {"..", "dots"},
                                           {"sub\\", "empty"},
                                           {"CON", "device"},
                                           {"x\\NUL.txt", "device"},
                                           {"a?b", "bad"},
                                           {"good.txt", "good"}}));
    RecordingProgress p;
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, &p));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    for (int i = 1; i <= 5; ++i) {
        const std::string name = "escape" + std::to_string(i) + ".txt";
        EXPECT_EQ(ScratchFolder::Read(c.out + name), std::to_string(i)) << name;
        EXPECT_FALSE(ScratchFolder::Exists(c.outside + name)) << name;
    }
    EXPECT_EQ(ScratchFolder::Read(c.out + "good.txt"), "good");
    EXPECT_EQ(CountFiles(c.out), 6);
    EXPECT_EQ(CountFiles(c.outside), 1);  // only the cabinet
    EXPECT_EQ(cabinet::FilesExtracted(), 6);
    EXPECT_EQ(cabinet::FilesSkipped(), 6);
    EXPECT_EQ(p.ranges, (std::vector<int>{12}));
    ASSERT_EQ(p.positions.size(), 12u);
    EXPECT_EQ(p.positions.back(), 12);
}

TEST(CabinetExtract, AttributesAreKeptMaskedTo0x27) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"ro.txt", "r", 0x21},
                                           {"hidden.txt", "h", 0x02},
                                           {"system.txt", "s", 0x04},
                                           {"all.txt", "a", 0x27},
                                           {"exec.txt", "e", 0x60},
                                           {"utfflag.txt", "u", 0xA0},
                                           {"none.txt", "n", 0x00}}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_TRUE(HasAttributes(c.out + "ro.txt", 0x21));
    EXPECT_TRUE(HasAttributes(c.out + "hidden.txt", 0x02));
    EXPECT_TRUE(HasAttributes(c.out + "system.txt", 0x04));
    EXPECT_TRUE(HasAttributes(c.out + "all.txt", 0x27));
    EXPECT_TRUE(HasAttributes(c.out + "exec.txt", 0x20));
    EXPECT_TRUE(HasAttributes(c.out + "utfflag.txt", 0x20));
    EXPECT_TRUE(HasAttributes(c.out + "none.txt", 0x00));
    EXPECT_EQ(Attributes(c.out + "exec.txt") & 0x40, 0u);
    EXPECT_EQ(ScratchFolder::Read(c.out + "ro.txt"), "r");
}

TEST(CabinetExtract, StoredDateBecomesCreationAndLastWriteTime) {
    CabinetCase c;
    CabEntry e{"dated.txt", "d", 0x21, DosDate(2021, 3, 4), DosTime(5, 6, 8)};
    CabEntry f{"older.txt", "o", 0x20, DosDate(1999, 12, 31), DosTime(23, 59, 58)};
    c.dir.Write("file1.cab", BuildCabinet({e, f}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    for (const CabEntry& x : {e, f}) {
        WORD cd = 0, ct = 0, wd = 0, wt = 0;
        ASSERT_TRUE(FileDosTimes(c.out + x.name, cd, ct, wd, wt)) << x.name;
        EXPECT_EQ(wd, x.date) << x.name;
        EXPECT_EQ(wt, x.time) << x.name;
        EXPECT_EQ(cd, x.date) << x.name;
        EXPECT_EQ(ct, x.time) << x.name;
    }
}

TEST(CabinetExtract, UtfNamesArriveInTheSystemCodePage) {
    CabinetCase c;
    // "é" in UTF-8, flagged as a UTF-8 name.
    c.dir.Write("file1.cab", BuildCabinet({{"caf\xc3\xa9.txt", "utf", 0xA0}}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    char expected[32] = "";
    WideCharToMultiByte(CP_ACP, 0, L"caf\x00e9.txt", -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_EQ(ScratchFolder::Read(c.out + expected), "utf");
    // A name with no form in the code page (a CJK character here) cannot be
    // extracted: the extraction fails.
    c.dir.Write("file1.cab", BuildCabinet({{"\xe6\xbc\xa2.txt", "cjk", 0xA0}, {"b.txt", "b"}}));
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    EXPECT_EQ(cabinet::FilesSkipped(), 1);
    EXPECT_EQ(ScratchFolder::Read(c.out + "b.txt"), "b");
}

// The engine reads names by characters of the system's ANSI code page: its
// lead bytes are those the system itself knows, in each double-byte code page.
TEST(CabinetNames, LeadBytesAreTheSystemsOwn) {
    for (unsigned codePage : {932u, 936u, 949u, 950u, 1252u}) {
        for (int b = 0; b < 256; ++b)
            EXPECT_EQ(core::codepage::IsLeadByte(static_cast<unsigned char>(b), codePage),
                      IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != FALSE)
                << codePage << " byte " << b;
    }
}

TEST(CabinetExtract, EmptyCabinetSetsRange0AndSucceeds) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({}));
    RecordingProgress p;
    EXPECT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, &p));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusSuccess);
    EXPECT_EQ(cabinet::CabinetFileCount(), 0);
    EXPECT_EQ(p.ranges, (std::vector<int>{0}));
    EXPECT_TRUE(p.positions.empty());
    EXPECT_EQ(CountFiles(c.out), 0);
}

TEST(CabinetExtract, TruncatedCabinetFailsAndLeavesNoPartialFile) {
    CabinetCase c;
    std::string big(200000, 'z');
    std::string cab = BuildCabinet({{"first.txt", "complete"}, {"F1_big.bin", big}});
    c.dir.Write("file1.cab", cab.substr(0, cab.size() / 2));
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "F1_big.bin"));
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "cvp0\\F1_big.bin"));
    EXPECT_EQ(ScratchFolder::Read(c.out + "first.txt"), "complete");
}

TEST(CabinetExtract, MissingOutputFolderStopsWithStatus4) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"a.txt", "A"}}));
    EXPECT_FALSE(cabinet::ExtractCabinet(c.cab, c.dir.Path() + "missing\\", nullptr));
    EXPECT_EQ(cabinet::ExtractionStatus(), cabinet::kStatusExtractFailed);
    EXPECT_EQ(cabinet::FilesExtracted(), 0);
}

TEST(CabinetExtract, EveryExtractionStartsAfresh) {
    CabinetCase c;
    c.dir.Write("file1.cab", BuildCabinet({{"a.txt", "A"}, {"b.txt", "B"}}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::FilesExtracted(), 2);
    c.dir.Write("file1.cab", BuildCabinet({{"c.txt", "C"}}));
    ASSERT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(cabinet::FilesExtracted(), 1);
    EXPECT_EQ(cabinet::CabinetFileCount(), 1);
}

// ---- Worker thread and progress bar ---------------------------------------------

UINT g_dispatched = 0;

LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP + 7) {
        ++g_dispatched;
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

TEST(CabinetExtract, WorkerFeedsAProgressBarWhileTheCallerDispatchesMessages) {
    CabinetCase c;
    std::vector<CabEntry> entries;
    for (int i = 0; i < 25; ++i) entries.push_back({"F" + std::to_string(i) + "_f.txt", std::string(i * 100, 'q')});
    c.dir.Write("file1.cab", BuildCabinet(entries));

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(bar, nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CvCabinetTestCounter";
    RegisterClassA(&wc);
    HWND counter = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   wc.hInstance, nullptr);
    ASSERT_NE(counter, nullptr);
    g_dispatched = 0;
    PostMessageA(counter, WM_APP + 7, 0, 0);

    cabinet::ProgressBarTarget target(bar);
    EXPECT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, &target));
    EXPECT_EQ(g_dispatched, 1u);  // served during the wait
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, FALSE, 0), 25);
    EXPECT_EQ(SendMessageA(bar, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 25);
    EXPECT_EQ(CountFiles(c.out + "cvp0\\"), 25);
    DestroyWindow(counter);
    DestroyWindow(bar);
}

// The program's file, held as the setup holds its own.
HANDLE OpenHeld(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

// A single file's cabinet is read where it lies inside the program's file:
// its own positions from its first byte, nothing read past its last.
TEST(CabinetExtract, EmbeddedCabinetIsReadInPlace) {
    CabinetCase c;
    const std::string big(70000, 'b');
    const std::string cab = BuildCabinet({{"F0_one.txt", "one"}, {"F1_big.bin", big}});
    const std::string before(4097, 'x');
    c.dir.Write("program.exe", before + cab + BuildCabinet({{"F2_other.txt", "not this one"}}));
    const HANDLE program = OpenHeld(c.dir.Path() + "program.exe");
    ASSERT_NE(program, INVALID_HANDLE_VALUE);
    cabinet::SetEmbeddedCabinet(c.cab, program, before.size(), cab.size());
    EXPECT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F0_one.txt"), "one");
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F1_big.bin"), big);
    EXPECT_FALSE(ScratchFolder::Exists(c.out + "cvp0\\F2_other.txt"));
    EXPECT_FALSE(ScratchFolder::Exists(c.cab)) << "nothing is written out";
    // A part that stops short of the cabinet's end reads as a cabinet cut short.
    CabinetCase cut;
    cut.dir.Write("program.exe", before + cab);
    const HANDLE cutProgram = OpenHeld(cut.dir.Path() + "program.exe");
    cabinet::SetEmbeddedCabinet(cut.cab, cutProgram, before.size(), cab.size() - 1000);
    EXPECT_FALSE(cabinet::ExtractCabinet(cut.cab, cut.out, nullptr));
    cabinet::SetEmbeddedCabinet("", INVALID_HANDLE_VALUE, 0, 0);
    CloseHandle(program);
    CloseHandle(cutProgram);
}

// The cabinet is read from the file the setup checked and holds, never by
// its name: a file put at that name after the check is not what is read.
TEST(CabinetExtract, EmbeddedCabinetIsReadThroughTheHeldFile) {
    CabinetCase c;
    const std::string before(513, 'x');
    const std::string cab = BuildCabinet({{"F0_one.txt", "checked"}});
    const std::string swapped = BuildCabinet({{"F0_one.txt", "swapped"}});
    ASSERT_EQ(cab.size(), swapped.size());
    c.dir.Write("program.exe", before + cab);
    const std::string path = c.dir.Path() + "program.exe";
    const HANDLE program = OpenHeld(path);
    ASSERT_NE(program, INVALID_HANDLE_VALUE);
    cabinet::SetEmbeddedCabinet(c.cab, program, before.size(), cab.size());
    ASSERT_TRUE(MoveFileA(path.c_str(), (path + ".old").c_str()));
    c.dir.Write("program.exe", before + swapped);
    EXPECT_TRUE(cabinet::ExtractCabinet(c.cab, c.out, nullptr));
    EXPECT_EQ(ScratchFolder::Read(c.out + "cvp0\\F0_one.txt"), "checked");
    // Unset, nothing is read in place any more.
    cabinet::SetEmbeddedCabinet("", INVALID_HANDLE_VALUE, 0, 0);
    CloseHandle(program);
}

}  // namespace

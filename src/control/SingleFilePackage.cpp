#include "control/SingleFilePackage.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "cabinet/CabinetExtract.h"
#include "cabinet/EmbeddedCabinet.h"
#include "control/PackageFiles.h"
#include "control/WaitWindow.h"
#include "core/ExitCodes.h"
#include "core/Folders.h"
#include "core/MessageWait.h"
#include "core/Messages.h"
#include "core/PackageBlock.h"
#include "core/PackageLocation.h"
#include "core/PeImage.h"
#include "core/ShellFileOps.h"
#include "core/Trace.h"
#include "core/TraceNames.h"
#include "core/WideText.h"
#include "core/WorkingFolder.h"
#include "util/Text.h"

namespace control {

namespace {

namespace block = core::packageblock;
namespace names = core::tracenames;

// Big pieces: the unpacking must cost little beside the installation.
constexpr size_t kBufferSize = 4u << 20;
// An unpacking that ends sooner shows no window.
constexpr DWORD kQuietMs = 500;
constexpr DWORD kProgressStepMs = 100;

// One unpacking, run on a thread of its own while the user-interface thread
// keeps the progress window alive.
struct Job {
    Job(package::OwnFile& file, const block::Trailer& t, const core::pe::Layout& l, std::string to)
        : own(file), trailer(t), layout(l), folder(std::move(to)) {}
    package::OwnFile& own;
    const block::Trailer& trailer;
    const core::pe::Layout& layout;
    std::string folder;
    std::atomic<uint64_t> done{0};
    std::atomic<bool> stop{false};
    block::Outcome outcome;
    // The payload cabinet, left in place in the program's file (size 0: none).
    block::Entry cabinet;
};

// Writes every entry but the payload cabinet, which is summed with the rest
// but read in place by the extraction (cabinet/EmbeddedCabinet.h): writing
// it out would cost as much again as extracting it.
class JobWriter : public package::FolderWriter {
public:
    explicit JobWriter(Job& job) : FolderWriter(job.folder), job_(job) {}
    bool Open(const block::Entry& entry) override {
        inPlace_ = util::text::EqualsIgnoringAsciiCase(entry.path, cabinet::kPayloadCabinetName);
        if (inPlace_) job_.cabinet = entry;
        return inPlace_ || FolderWriter::Open(entry);
    }
    bool Write(const unsigned char* data, size_t size) override {
        return inPlace_ || FolderWriter::Write(data, size);
    }
    bool Close() override {
        if (!inPlace_) return FolderWriter::Close();
        inPlace_ = false;
        return true;
    }
    bool Progress(uint64_t done, uint64_t) override {
        job_.done = done;
        return !job_.stop;
    }

private:
    Job& job_;
    bool inPlace_ = false;
};

// Clears the 8 bytes at `entry` (0: none) where they fall into the piece
// of the file that starts at `at`.
void ClearEntry(std::vector<unsigned char>& piece, uint64_t at, size_t size, uint64_t entry) {
    for (uint64_t byte = entry; entry != 0 && byte < entry + 8; ++byte)
        if (byte >= at && byte < at + size) piece[static_cast<size_t>(byte - at)] = 0;
}

// setup.exe: the program's bytes before the block. A signed file's header
// names its certificate table, which the copy does not carry: that entry is
// cleared, so the copy is a plain program.
bool CopyEngine(Job& job, package::FolderWriter& writer) {
    const uint64_t end = job.trailer.blockOffset;
    if (!writer.Open(block::Entry{"setup.exe", end})) return false;
    std::vector<unsigned char> buffer(kBufferSize);
    for (uint64_t at = 0; at < end;) {
        const size_t piece = static_cast<size_t>(std::min<uint64_t>(end - at, buffer.size()));
        if (!job.own.ReadAt(at, buffer.data(), piece)) break;
        ClearEntry(buffer, at, piece, job.layout.certificatesEntryOffset);
        if (!writer.Write(buffer.data(), piece)) break;
        at += piece;
        if (at == end) return writer.Close();
    }
    writer.Close();
    return false;
}

DWORD WINAPI RunJob(void* parameter) {
    Job& job = *static_cast<Job*>(parameter);
    JobWriter writer(job);
    if (!job.own.ReadAt(job.trailer.blockOffset, nullptr, 0)) {
        job.outcome = block::Outcome{block::Outcome::kFailed, "the program's own file cannot be read"};
        return 0;
    }
    // Names are the setup's ANSI code page's, as in every file the package holds.
    job.outcome = block::Unpack(job.own, job.trailer, GetACP(), writer, kBufferSize);
    if (job.outcome.kind == block::Outcome::kUnpacked && !CopyEngine(job, writer))
        job.outcome = block::Outcome{block::Outcome::kFailed, "cannot write setup.exe"};
    return 0;
}

std::string ProgressText(const Job& job) {
    const uint64_t total = std::max<uint64_t>(job.trailer.blockLength, 1);
    char percent[8];
    std::snprintf(percent, sizeof percent, "%u", static_cast<unsigned>(job.done * 100 / total));
    return core::FormatText(core::EnglishText(core::MessageId::PackageUnpacking), {percent});
}

// Runs the job; an interactive run that waits longer than a moment shows the
// progress window, whose Cancel stops the unpacking.
void RunUnpacking(Job& job, bool silent) {
    const HANDLE thread = CreateThread(nullptr, 0, &RunJob, &job, 0, nullptr);
    if (!thread) {
        core::trace::Failure("CreateThread (unpacking)", GetLastError());
        RunJob(&job);
        return;
    }
    if (!silent && !core::WaitKeepingWindowsAlive(thread, kQuietMs)) {
        WaitWindow window;
        window.Show();
        do {
            window.SetText(ProgressText(job));
            if (window.CancelRequested()) job.stop = true;
        } while (!core::WaitKeepingWindowsAlive(thread, kProgressStepMs));
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// A folder package's project lies beside the program.
bool FolderPackageBeside() { return core::folders::IsFile(core::folders::ProgramFolder() + "setup.nsx"); }

int Refuse(const char* traceName, const std::string& value, const std::string& message, bool silent) {
    core::trace::Value(traceName, value);
    if (!silent) MessageBoxA(nullptr, message.c_str(), core::kMessageCaption, MB_OK | MB_ICONERROR);
    return core::kExitFailed;
}

int RefuseDamaged(const std::string& problem, bool silent) {
    return Refuse(names::kPackageDamaged, problem,
                  core::FormatText(core::EnglishText(core::MessageId::PackageDamaged), {problem}), silent);
}

int RefuseNotUnpacked(const std::string& folder, const std::string& why, bool silent) {
    return Refuse(names::kPackageNotUnpacked, folder + ": " + why,
                  core::FormatText(core::EnglishText(core::MessageId::PackageNotUnpacked), {folder, why}), silent);
}

int RefuseNotRunningFile(const std::wstring& name, bool silent) {
    return Refuse(names::kPackageNotRunningFile, core::wide::ToCodePage(name, CP_UTF8),
                  core::EnglishText(core::MessageId::PackageNotRunningFile), silent);
}

}  // namespace

SingleFilePackage::SingleFilePackage() = default;

SingleFilePackage::~SingleFilePackage() { Remove(); }

std::optional<int> SingleFilePackage::Unpack(bool silent) {
    own_ = std::make_unique<package::OwnFile>();
    package::OwnFile& own = *own_;
    if (own.Opened() == package::OwnFile::State::kNotTheImage) return RefuseNotRunningFile(own.Name(), silent);
    if (!own.IsOpen()) return std::nullopt;  // traced; a folder package needs nothing of it
    core::pe::Layout layout;
    const block::Found found = block::LocateBlock(own, layout);
    if (found.kind == block::Found::kNone) return RunAsFolder();
    if (found.kind == block::Found::kDamaged && !found.trailerFound && FolderPackageBeside()) {
        // Data after the image but no block: an engine a tool changed after it
        // was linked, beside its folder package, runs that package as ever. A
        // single file cut short has no project beside it.
        core::trace::Value("no package block", found.problem);
        return RunAsFolder();
    }
    if (found.kind == block::Found::kDamaged) return RefuseDamaged(found.problem, silent);

    const std::string temp = core::folders::TempFolder();
    const std::string name =
        core::folders::CreateWorkingFolder(temp, "cvpk" + core::folders::WorkingFolderName().substr(2));
    if (name.empty()) return RefuseNotUnpacked(temp, "no folder of the setup's own could be made there", silent);
    folder_ = core::WorkingFolderPath(temp, name);
    Job job(own, found.trailer, layout, folder_);
    RunUnpacking(job, silent);
    const block::Outcome& outcome = job.outcome;
    if (outcome.kind == block::Outcome::kUnpacked) {
        if (job.cabinet.size > 0)
            cabinet::SetEmbeddedCabinet(folder_ + cabinet::kPayloadCabinetName, own.Handle(), job.cabinet.offset,
                                        job.cabinet.size);
        const std::string name = core::wide::ToCodePage(own.Name(), CP_UTF8);
        fileName_ = name.substr(name.find_last_of('\\') + 1);
        core::trace::Value(names::kPackageUnpacked, folder_);
        return std::nullopt;
    }
    const std::string folder = folder_;
    Remove();  // nothing of a package that is not whole is ever run
    if (outcome.kind == block::Outcome::kStopped) {
        core::trace::Line("package unpacking cancelled");
        return core::kExitAbandoned;
    }
    if (outcome.kind == block::Outcome::kDamaged) return RefuseDamaged(outcome.problem, silent);
    return RefuseNotUnpacked(folder, outcome.problem, silent);
}

std::optional<int> SingleFilePackage::RunAsFolder() {
    own_.reset();  // nothing more is read of a folder package's program
    return std::nullopt;
}

void SingleFilePackage::Remove() {
    cabinet::SetEmbeddedCabinet("", INVALID_HANDLE_VALUE, 0, 0);
    own_.reset();
    if (folder_.empty()) return;
    if (core::shellops::DeleteFolderIfPresent(folder_)) core::trace::Value(names::kPackageRemoved, folder_);
    else core::trace::Value("package folder not removed", folder_);
    folder_.clear();
    fileName_.clear();
}

}  // namespace control

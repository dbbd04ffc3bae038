// Extraction of the payload cabinet into the working folder through the
// cabinet library's decompressor (create a context, test for a cabinet,
// extract with notifications, destroy). Every file is written into the
// output folder under its bare file name (payload files into its sub-folders,
// see CabinetNames.h), with the cabinet's date as its creation and last-write
// time and its read-only, hidden, system and archive attributes.
//
// The caller on the user-interface thread calls ExtractCabinet: it runs the
// extraction on a worker thread and keeps dispatching window messages until
// the worker ends, so painting, timers and a progress bar fed by synchronous
// messages from the worker keep working.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "util/ProgressThrottle.h"

namespace cabinet {

// Extraction status, process-wide (ExtractionStatus()).
constexpr int32_t kStatusSuccess = -1;         // no error
constexpr int32_t kStatusContextFailed = 1;    // the decompression context could not be created
constexpr int32_t kStatusOpenFailed = 2;       // the cabinet file could not be opened (missing)
constexpr int32_t kStatusNotCabinet = 3;       // the file is not a cabinet
constexpr int32_t kStatusExtractFailed = 4;    // extraction failed (damaged cabinet, a file not created,
                                               // a stored name that cannot be used, an output folder
                                               // too long)
constexpr int32_t kStatusDestroyFailed = 5;    // destroying the context failed after a good extraction

// Size of the output folder buffer: a folder of kOutputFolderSize or more
// characters (its trailing backslash included), or an empty one, is refused
// with status 4.
constexpr size_t kOutputFolderSize = 256;
// Longest cabinet path accepted; a longer one gives status 2.
constexpr size_t kMaxCabinetPath = 255;

constexpr const char kPayloadCabinetName[] = "file1.cab";

// Where an extraction reports its progress. Called on the extraction's worker
// threads: an implementation that touches windows of the user-interface thread
// must do it with SendMessage (synchronous; the waiting user-interface thread
// serves it), never by calling into the window objects directly.
class ExtractProgress {
public:
    virtual ~ExtractProgress() = default;
    // Once per extraction, before the first file is written (or at the end
    // for a cabinet without files): the bar runs from 0 to fileCount.
    virtual void SetRange(int fileCount) = 0;
    // After each file of the cabinet has been handled (opened for writing,
    // or skipped for an unsafe name): the number handled so far.
    virtual void SetPosition(int filesDone) = 0;
};

// A progress target that is a progress bar control (msctls_progress32):
// PBM_SETRANGE32 (0..count, no 16-bit limit) and PBM_SETPOS by SendMessage.
class ProgressBarTarget : public ExtractProgress {
public:
    explicit ProgressBarTarget(HWND bar) : m_bar(bar) {}
    void SetRange(int fileCount) override;
    void SetPosition(int filesDone) override;

private:
    HWND m_bar;
    util::ProgressThrottle m_throttle;
};

// "<source folder>file1.cab"; the source folder ends with a backslash.
std::string PayloadCabinetPath(const std::string& sourceFolder);

// User-interface thread: extracts cabinetPath into outputFolder (a backslash
// is added when missing) on a worker thread, waiting for it while dispatching
// window messages (a WM_QUIT met meanwhile is posted again afterwards).
// Returns true when the status is kStatusSuccess at the end. progress may be
// null. If the worker thread cannot be started the extraction runs on the
// calling thread instead.
bool ExtractCabinet(const std::string& cabinetPath, const std::string& outputFolder,
                    ExtractProgress* progress);

// The worker's part, on the calling thread: the whole extraction, returning
// the status it leaves in ExtractionStatus(). One extraction at a time: a call
// made while another extraction runs returns kStatusContextFailed at once and
// leaves the process-wide values alone. The files are written by a thread of
// their own while this one decompresses (writerThread), so progress is then
// reported from that thread; without it everything runs on the calling
// thread, which must be the case when progress goes by message to windows of
// the calling thread.
int32_t RunExtraction(const std::string& cabinetPath, const std::string& outputFolder,
                      ExtractProgress* progress, bool writerThread = true);

// Process-wide results, written by the worker and meant to be read after it
// has ended. Every extraction starts them afresh: status -1, counters 0, file
// count -1.
int32_t ExtractionStatus();
// Files opened for writing in the output folder.
int32_t FilesExtracted();
// Files not written because their names could not be used: not safe
// (CabinetNames.h), or a UTF-8 name with no exact form in the system's code
// page. The other files are still written, but any skipped file makes the
// extraction end with kStatusExtractFailed.
int32_t FilesSkipped();
// Number of files in the cabinet, as the progress range got it; -1 before known.
int32_t CabinetFileCount();

}  // namespace cabinet

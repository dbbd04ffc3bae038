// A cabinet that lies inside a larger file: a single-file setup's payload
// cabinet, read in place from the program's own file instead of being
// written out first, which would cost as much again as its extraction.
// While it is set, the extraction's file calls for the cabinet's path go to
// that part of the file: opened there, reads stop at its end, positions are
// the cabinet's own. The part is read through the handle of the file the
// setup checked, never by the file's name: another file put at that name
// after the check is never read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace cabinet {

// The cabinet named `cabinetPath` is the `length` bytes at `offset` of the
// file open as `file` (readable; it stays open while this is set), read at
// offsets through that handle, each open of the cabinet with a position of
// its own. Set before the extraction; "" and INVALID_HANDLE_VALUE unset it.
void SetEmbeddedCabinet(const std::string& cabinetPath, HANDLE file, uint64_t offset, uint64_t length);

// The file calls of the extraction (cabinet descriptors only).
int OpenCabinetFile(const char* path, int oflag, int pmode);
unsigned ReadCabinetFile(int fd, void* data, unsigned size);
long SeekCabinetFile(int fd, long distance, int origin);
int CloseCabinetFile(int fd);

}  // namespace cabinet

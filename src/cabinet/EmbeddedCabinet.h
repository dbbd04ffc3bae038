// A cabinet that lies inside a larger file: a single-file setup's payload
// cabinet, read in place from the program's own file instead of being
// written out first, which would cost as much again as its extraction.
// While it is set, the extraction's file calls for the cabinet's path go to
// that part of the file: opened there, reads stop at its end, positions are
// the cabinet's own.
#pragma once

#include <cstdint>
#include <string>

namespace cabinet {

// The cabinet named `cabinetPath` is the `length` bytes at `offset` of the
// file `file` (a wide path: a download folder's name need not fit the ANSI
// code page). Set once, before the extraction.
void SetEmbeddedCabinet(const std::string& cabinetPath, const std::wstring& file, uint64_t offset, uint64_t length);

// The file calls of the extraction (cabinet descriptors only).
int OpenCabinetFile(const char* path, int oflag, int pmode);
unsigned ReadCabinetFile(int fd, void* data, unsigned size);
long SeekCabinetFile(int fd, long distance, int origin);
int CloseCabinetFile(int fd);

}  // namespace cabinet

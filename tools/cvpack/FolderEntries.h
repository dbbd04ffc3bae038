// Folder entries of data.inf: a source line whose file name holds a wildcard
// ("payload\bin\*", "docs\*.txt") stands for every matching file in that
// folder and its sub-folders. cvpack expands each into the plain records the
// engine reads, one a file, sorted by relative path so that builds are
// reproducible; a file in a sub-folder goes to the entry's DESTDIR with that
// sub-folder appended, with the entry's flags, OSMASK, NUMBER and feature.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "ProjectDataList.h"
#include "SourceText.h"

// Whether the record is a folder entry: a local source line whose file name
// holds "*" or "?".
bool IsFolderEntry(const ProjectDataRecord& record);

// Whether `name` matches `pattern`: "*" any run of characters, "?" one
// character, ASCII letters in either case. Characters are those of `codePage`
// (65001: UTF-8).
bool MatchesWildcard(const std::string& pattern, const std::string& name, unsigned codePage);

// The list with every folder entry replaced by its files' records. Names
// found on disk are UTF-8 when data.inf is (`utf8`) and are then converted by
// `converter`; an entry that matches no file, or names no folder, is an error
// on its line.
std::vector<ProjectDataRecord> ExpandFolderEntries(const std::vector<ProjectDataRecord>& records,
                                                   const std::filesystem::path& projectDir, bool utf8,
                                                   SourceConverter& converter, Diagnostics& diagnostics);

// The records of a data.inf as read (`list`), its source lines kept as
// written beside the converted ones (a UTF-8 list names its files on disk in
// UTF-8), with its folder entries expanded. A malformed line throws
// ProjectDataError; what the expansion finds goes to `diagnostics`.
std::vector<ProjectDataRecord> ReadProjectRecords(const SourceText& list, const std::filesystem::path& projectDir,
                                                  SourceConverter& converter, Diagnostics& diagnostics);

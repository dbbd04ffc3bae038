// Reads of project settings through the profile functions: every read has a
// fixed buffer size and an empty default, so a missing file, section or key
// reads as "" and an over-long value is cut silently.
#pragma once

#include <string>

#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"

namespace core::settings {

std::string Read(const std::string& file, const char* section, const char* key,
                 int bufferSize = kValueSize);
bool ReadYes(const std::string& file, const char* section, const char* key,
             int bufferSize = kValueSize);
bool ReadNotNo(const std::string& file, const char* section, const char* key,
               int bufferSize = kValueSize);
int ReadNumber(const std::string& file, const char* section, const char* key,
               int bufferSize = kValueSize);
// The most items an install action reads from one list: projects list tens
// of shortcuts, values or services, and a damaged count beyond this is cut
// here rather than read (and maybe asked about) for hours.
constexpr int kMaxInstallListItems = 1000;

// Item count of a list an install action reads ("TOTAL" read with
// `bufferSize` bytes): from 0 to kMaxInstallListItems.
int ReadInstallListCount(const std::string& file, const char* section,
                         int bufferSize = kValueSize);

// Item count of an indexed list; never negative.
int ReadListCount(const std::string& file, const char* section,
                  const char* totalKey = core::keys::kTotal);
// Field `letter` of list item `index` ("A" and 3 read key "A3").
std::string ReadListField(const std::string& file, const char* section, const char* letter,
                          int index, int bufferSize = kValueSize);

}  // namespace core::settings

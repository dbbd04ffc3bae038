// Small text helpers for the fixed-size byte strings the engine works with.
#pragma once

#include <cstddef>
#include <string>

namespace util::text {

// Copies src into dst of dstSize bytes, cutting it to dstSize-1 characters;
// dst is always terminated. Returns dst.
char* CopyTruncated(char* dst, size_t dstSize, const char* src);
// Appends a backslash unless the text already ends with one.
std::string WithTrailingBackslash(const std::string& s);
// The text without any backslashes at its end.
std::string WithoutTrailingBackslashes(std::string s);
// Replaces every non-overlapping occurrence of `from`, scanning left to right;
// inserted text is not scanned again.
std::string ReplaceAll(const std::string& s, const std::string& from, const std::string& to);

// Equal but for the case of ASCII letters (bytes above 127 compare exactly).
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);
// The text with its ASCII capitals lower-cased (other bytes as they are).
std::string AsciiLower(std::string s);
// The text with every control character (below 0x20, and 0x7F) shown as "?",
// line feeds too unless `keepLineFeeds`: text from outside that is printed or
// logged can then write no lines or terminal commands of its own.
std::string ControlCharactersShown(std::string s, bool keepLineFeeds = false);
// A path that names its drive or server ("C:\..." or "\\server\..."). The
// programs and libraries a project names are only started or loaded by such
// a path: a bare name would be looked for along the search path, where
// anyone may plant one.
bool IsFullPath(const std::string& path);
// A web address: "http://" or "https://" (any case) at the start. Anything
// else, "httptool.exe" too, is a file or a program name.
bool IsWebAddress(const std::string& text);

}  // namespace util::text

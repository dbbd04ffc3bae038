// The authors' guide holds the settings reference between two marker lines;
// cvpack writes it there from the table the setup and the checker share.
#pragma once

#include <string>

extern const char kReferenceBegin[];  // the marker line before, with its line end
extern const char kReferenceEnd[];

// `guide` with the text between the markers replaced by `reference`; throws
// std::runtime_error when the markers are missing.
std::string WithReference(const std::string& guide, const std::string& reference);

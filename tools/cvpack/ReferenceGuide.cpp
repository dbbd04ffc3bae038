#include "ReferenceGuide.h"

#include <stdexcept>

const char kReferenceBegin[] = "<!-- BEGIN generated: setup.inf sections and keys -->\n";
const char kReferenceEnd[] = "<!-- END generated -->";

std::string WithReference(const std::string& guide, const std::string& reference) {
    const size_t begin = guide.find(kReferenceBegin);
    const size_t end = guide.find(kReferenceEnd);
    if (begin == std::string::npos || end == std::string::npos || end < begin)
        throw std::runtime_error("the guide has no place for the reference (its marker lines)");
    const size_t from = begin + sizeof kReferenceBegin - 1;
    return guide.substr(0, from) + reference + guide.substr(end);
}

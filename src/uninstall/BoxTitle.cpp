#include "uninstall/BoxTitle.h"

#include "core/CodePage.h"
#include "util/Text.h"

namespace uninstall {

std::string BoxTitle(const std::string& displayName, unsigned codePage) {
    if (displayName.empty()) return kNeutralBoxTitle;
    // A double-byte character is never split: half of one would join the
    // byte after it into another character.
    size_t end = 0;
    while (end < displayName.size()) {
        const size_t next = end + core::codepage::CharacterLength(displayName, end, codePage);
        if (next > kBoxTitleLimit) break;
        end = next;
    }
    return util::text::ControlCharactersShown(displayName.substr(0, end));
}

}  // namespace uninstall

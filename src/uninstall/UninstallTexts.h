// The texts the uninstaller shows: its messages, localised from the message
// file the setup left in the uninstall folder ("language.lan", section REQ),
// and every text expanded with what the registration says of the product
// (<ProductName>, <ProductVersion>, <ProductCode>, <InstallDir>, the folders).
#pragma once

#include <string>

#include "core/Messages.h"
#include "core/Placeholders.h"
#include "uninstall/InstalledProduct.h"

namespace uninstall {

class UninstallTexts {
public:
    // `messageFile`: the message file's path; a missing file leaves the
    // built-in English texts.
    UninstallTexts(const InstalledProduct& product, const std::string& messageFile);

    // The message, localised when the message file has its text, expanded.
    std::string Of(core::MessageId id) const;
    // A text with the product's placeholders expanded (page captions).
    std::string Expand(const std::string& text) const;
    // The same for a UTF-8 text (a Unicode page-text file's caption).
    std::string ExpandUtf8(const std::string& utf8) const;

private:
    std::string messageFile_;
    core::PlaceholderValues values_;
};

}  // namespace uninstall

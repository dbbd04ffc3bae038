#include "uninstall/UninstallTexts.h"

#include "core/Folders.h"
#include "core/Settings.h"
#include "core/Utf8Placeholders.h"
#include "util/Text.h"

namespace uninstall {

UninstallTexts::UninstallTexts(const InstalledProduct& product, const std::string& messageFile)
    : messageFile_(messageFile) {
    values_.productName = product.ShownName();
    values_.productCode = product.code;
    values_.productVersion = product.displayVersion;
    values_.publisher = product.publisher;
    if (!product.installFolder.empty())
        values_.installDir = util::text::WithTrailingBackslash(product.installFolder);
    values_.windowsFolder = core::folders::WindowsFolder();
    values_.systemFolder = core::folders::SystemFolder();
    values_.tempFolder = core::folders::TempFolder();
}

std::string UninstallTexts::Of(core::MessageId id) const {
    const std::string text = core::LocalisedText(id, [this](const char* section, const char* key) {
        return core::settings::Read(messageFile_, section, key);
    });
    return Expand(text);
}

std::string UninstallTexts::Expand(const std::string& text) const { return core::ExpandSetupText(text, values_); }

std::string UninstallTexts::ExpandUtf8(const std::string& utf8) const {
    return core::ExpandSetupTextUtf8(utf8, values_);
}

}  // namespace uninstall

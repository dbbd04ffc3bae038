#include "ProductIdentity.h"

#include <stdexcept>

#include "CodePageEncoder.h"
#include "PayloadPath.h"
#include "Utf8Text.h"
#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "skin/MemoryIniSource.h"
#include "core/TextEncodingRules.h"

namespace {

constexpr unsigned kUtf8CodePage = 65001;

bool Utf8ToUtf16(const std::string& text, std::u16string& out) {
    out.clear();
    for (size_t pos = 0; pos < text.size();) {
        char32_t c = 0;
        const size_t length = utf8::SequenceLength(text, pos, c);
        if (length == 0) return false;
        pos += length;
        core::encoding::AppendUtf16(out, c);
    }
    return true;
}

}  // namespace

bool CodePageToUtf16(const std::string& text, unsigned codePage, std::u16string& out) {
    bool ascii = true;
    for (char c : text) ascii &= static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        out.assign(text.begin(), text.end());
        return true;
    }
    if (codePage == kUtf8CodePage) return Utf8ToUtf16(text, out);
    CodePageEncoder decoder(codePage);
    return decoder.Decode(text, out);
}

ProductIdentity ReadProductIdentity(const SourceText& setupInf, const std::filesystem::path& projectDir,
                                    unsigned codePage) {
    namespace app = core::keys::appinfo;
    const skin::MemoryIniSource shipped(setupInf.shipped);
    auto text = [&](const char* key) {
        std::u16string value;
        if (!CodePageToUtf16(shipped.Read(app::kSection, key, core::settings::kValueSize), codePage, value))
            throw std::runtime_error(std::string("setup.inf: [APPINFO] ") + key + " is no text of code page " +
                                     std::to_string(codePage));
        return value;
    };
    ProductIdentity identity;
    identity.productName = text(app::kProductName);
    identity.productVersion = text(app::kProductVersion);
    identity.publisher = text(app::kPublisher);
    identity.copyright = text(app::kCopyright);
    // The file is found on disk by its name as written (UTF-8 names in a UTF-8 project).
    const skin::MemoryIniSource written(setupInf.written);
    const std::string icon = written.Read(app::kSection, app::kSetupIcon, core::settings::kValueSize);
    if (!icon.empty()) identity.icon = PayloadPath(projectDir, icon, setupInf.utf8, codePage);
    return identity;
}

// What a shipped setup.exe says about itself in Explorer and its file
// properties: the author's product, not the engine's. Taken from the
// project's settings as the setup reads them.
#pragma once

#include <filesystem>
#include <string>

#include "SourceText.h"

struct ProductIdentity {
    std::u16string productName;     // [APPINFO] a1
    std::u16string productVersion;  // [APPINFO] a2, as written
    std::u16string publisher;       // [APPINFO] a19; empty: no CompanyName
    std::u16string copyright;       // [APPINFO] Copyright; empty: no LegalCopyright
    // The .ico file [APPINFO] SetupIcon names, on the building machine;
    // empty: the engine keeps its own icon.
    std::filesystem::path icon;
};

// The identity the settings `setupInf` give. Each value is read as the setup
// reads it (at most 254 bytes in the target code page) and turned into
// UTF-16 from `codePage`. Throws std::runtime_error when a value holds bytes
// that are no text of the code page.
ProductIdentity ReadProductIdentity(const SourceText& setupInf, const std::filesystem::path& projectDir,
                                    unsigned codePage);

// The same text in UTF-16; false when a byte is no character of `codePage`
// (65001: UTF-8).
bool CodePageToUtf16(const std::string& text, unsigned codePage, std::u16string& out);

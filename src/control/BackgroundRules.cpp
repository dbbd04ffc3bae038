#include "control/BackgroundRules.h"

#include "core/FileList.h"

namespace control::background {

int ColorComponent(const std::string& text) {
    if (text == "0x80") return 128;
    if (text == "0xC0") return 192;
    if (text == "0xFF") return 255;
    return 0;  // "0x00" and every other text
}

Rgb ParseColor(const std::string& value) {
    const size_t at = value.find('@');
    const std::string rest = at == std::string::npos ? value : value.substr(at + 1);
    std::string parts[3];
    size_t start = 0;
    for (int i = 0; i < 3 && start <= rest.size(); ++i) {
        const size_t comma = rest.find(',', start);
        parts[i] = rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return {ColorComponent(parts[0]), ColorComponent(parts[1]), ColorComponent(parts[2])};
}

namespace {

int Blend(int top, int bottom, int y, int height) { return top + (bottom - top) * y / height; }

}  // namespace

Rgb GradientRow(const Rgb& top, const Rgb& bottom, int y, int height) {
    if (height <= 0 || y <= 0) return top;
    if (y >= height) y = height - 1;
    return {Blend(top.red, bottom.red, y, height), Blend(top.green, bottom.green, y, height),
            Blend(top.blue, bottom.blue, y, height)};
}

bool BackgroundWanted(const BackgroundSettings& s, bool unattended) {
    return !unattended && s.enabled == "1";
}

std::string PicturePathTemplate(const std::string& workingFolderName, const std::string& picture,
                                unsigned codePage) {
    const std::string name = core::filelist::FileNameOf(picture, codePage);
    if (name.empty()) return std::string();
    return "<TempFolder>\\" + workingFolderName + "\\" + name;
}

}  // namespace control::background

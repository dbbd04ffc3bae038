#include "VersionResource.h"

#include "LittleEndian.h"

namespace version {

namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedStructVersion = 0x00010000;
constexpr uint32_t kFlagsMask = 0x3F;
constexpr uint32_t kOsNtWindows32 = 0x00040004;
constexpr uint32_t kTypeApplication = 1;
constexpr uint16_t kBinary = 0, kText = 1;

// One node of the tree: its header, key and value, then its children, each
// on a 4-byte boundary. `valueLength` counts characters for a text value
// (with its terminating zero), bytes otherwise.
struct Node {
    std::u16string key;
    std::string value;
    uint16_t valueLength = 0;
    uint16_t type = kText;
    std::vector<Node> children;
};

void AppendText(std::string& out, const std::u16string& text) {
    for (char16_t c : text) le::Append16(out, static_cast<uint16_t>(c));
    le::Append16(out, 0);
}

// Written at a 4-byte boundary of the resource, so offsets within `out`
// align as they would within the resource.
std::string Serialize(const Node& node) {
    std::string out;
    le::Append16(out, 0);  // length, filled in at the end
    le::Append16(out, node.valueLength);
    le::Append16(out, node.type);
    AppendText(out, node.key);
    le::PadTo(out, 4);
    out += node.value;
    for (const Node& child : node.children) {
        le::PadTo(out, 4);
        out += Serialize(child);
    }
    le::Put16(out, 0, static_cast<uint16_t>(out.size()));
    return out;
}

Node TextValue(const std::u16string& name, const std::u16string& text) {
    Node node{name, "", static_cast<uint16_t>(text.size() + 1), kText, {}};
    AppendText(node.value, text);
    return node;
}

std::string Fixed(const Info& info) {
    std::string fixed;
    le::Append32(fixed, kFixedSignature);
    le::Append32(fixed, kFixedStructVersion);
    for (const auto* v : {&info.fileVersion, &info.productVersion}) {
        le::Append32(fixed, uint32_t((*v)[0]) << 16 | (*v)[1]);
        le::Append32(fixed, uint32_t((*v)[2]) << 16 | (*v)[3]);
    }
    le::Append32(fixed, kFlagsMask);
    le::Append32(fixed, 0);  // flags: a release build
    le::Append32(fixed, kOsNtWindows32);
    le::Append32(fixed, kTypeApplication);
    le::Append32(fixed, 0);  // subtype
    le::Append32(fixed, 0);  // date, high part
    le::Append32(fixed, 0);  // date, low part
    return fixed;
}

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::char_traits<char>::length(text)); }

}  // namespace

std::array<uint16_t, 4> Numbers(const std::string& text) {
    std::array<uint16_t, 4> numbers{};
    size_t start = 0;
    for (size_t part = 0; part < 4 && start <= text.size(); ++part) {
        size_t dot = text.find('.', start);
        if (dot == std::string::npos) dot = text.size();
        const std::string piece = text.substr(start, dot - start);
        if (!piece.empty() && piece.size() <= 5 && piece.find_first_not_of("0123456789") == std::string::npos &&
            std::stoul(piece) <= 0xFFFF)
            numbers[part] = static_cast<uint16_t>(std::stoul(piece));
        start = dot + 1;
    }
    return numbers;
}

std::string Build(const Info& info) {
    Node table{Ascii("040904B0"), "", 0, kText, {}};
    for (const auto& s : info.strings)
        if (!s.second.empty()) table.children.push_back(TextValue(s.first, s.second));
    Node strings{Ascii("StringFileInfo"), "", 0, kText, {table}};
    Node translation{Ascii("Translation"), "", 4, kBinary, {}};
    le::Append16(translation.value, kLanguage);
    le::Append16(translation.value, kCodePage);
    Node variables{Ascii("VarFileInfo"), "", 0, kText, {translation}};
    const std::string fixed = Fixed(info);
    Node root{Ascii("VS_VERSION_INFO"), fixed, static_cast<uint16_t>(fixed.size()), kBinary, {strings, variables}};
    return Serialize(root);
}

}  // namespace version

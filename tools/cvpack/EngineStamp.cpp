#include "EngineStamp.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <stdexcept>

#include "PeImage.h"
#include "VersionResource.h"

namespace {

// The largest engine read: several times today's.
constexpr size_t kMostEngineBytes = 256u * 1024 * 1024;

std::string Ascii(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw std::runtime_error("cannot read");
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > kMostEngineBytes)
        throw std::runtime_error("larger than any engine (256 MiB)");
    std::string bytes(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(&bytes[0], size)) throw std::runtime_error("cannot read");
    return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write");
}

// The first icon group in the order of the resource section: the one
// Explorer shows as the program's icon.
std::vector<pe::Resource>::iterator ApplicationGroup(std::vector<pe::Resource>& resources) {
    auto first = resources.end();
    for (auto it = resources.begin(); it != resources.end(); ++it)
        if (pe::IsType(*it, pe::kGroupIcon) &&
            (first == resources.end() || it->name < first->name ||
             (it->name == first->name && it->language < first->language)))
            first = it;
    return first;
}

void ReplaceIcon(std::vector<pe::Resource>& resources, const std::vector<ico::Picture>& pictures) {
    auto group = ApplicationGroup(resources);
    if (group == resources.end()) throw std::runtime_error("the engine has no icon group");
    unsigned highest = 0;
    for (const pe::Resource& r : resources)
        if (pe::IsType(r, pe::kIcon) && !r.name.IsText()) highest = std::max<unsigned>(highest, r.name.id);
    if (highest + pictures.size() > 0xFFFF) throw std::runtime_error("no icon numbers left for the icon");
    const uint16_t firstId = static_cast<uint16_t>(highest + 1);
    const uint16_t language = group->language;
    // The old group's icons go, unless another group shows them too.
    const std::vector<uint16_t> old = ico::GroupMembers(group->data);
    group->data = ico::GroupResource(pictures, firstId);
    std::set<uint16_t> kept;
    for (const pe::Resource& r : resources)
        if (pe::IsType(r, pe::kGroupIcon) && &r != &*group)
            for (uint16_t id : ico::GroupMembers(r.data)) kept.insert(id);
    resources.erase(std::remove_if(resources.begin(), resources.end(),
                                   [&](const pe::Resource& r) {
                                       return pe::IsType(r, pe::kIcon) && !r.name.IsText() &&
                                              std::count(old.begin(), old.end(), r.name.id) &&
                                              !kept.count(r.name.id);
                                   }),
                    resources.end());
    for (size_t i = 0; i < pictures.size(); ++i) {
        pe::Resource icon;
        icon.type.id = pe::kIcon;
        icon.name.id = static_cast<uint16_t>(firstId + i);
        icon.language = language;
        icon.data = pictures[i].data;
        resources.push_back(std::move(icon));
    }
}

}  // namespace

std::string ProductVersionResource(const ProductIdentity& identity) {
    version::Info info;
    info.fileVersion = info.productVersion = version::Numbers(Ascii(identity.productVersion));
    const std::u16string description = identity.productName.empty() ? u"Setup" : identity.productName + u" Setup";
    info.strings = {
        {u"CompanyName", identity.publisher},
        {u"FileDescription", description},
        {u"FileVersion", identity.productVersion},
        {u"LegalCopyright", identity.copyright},
        {u"OriginalFilename", u"setup.exe"},
        {u"ProductName", identity.productName},
        {u"ProductVersion", identity.productVersion},
    };
    return version::Build(info);
}

void StampResources(std::vector<pe::Resource>& resources, const ProductIdentity& identity,
                    const std::vector<ico::Picture>& pictures) {
    uint16_t language = version::kLanguage;
    for (const pe::Resource& r : resources)
        if (pe::IsType(r, pe::kVersion)) {
            language = r.language;
            break;
        }
    resources.erase(std::remove_if(resources.begin(), resources.end(),
                                   [](const pe::Resource& r) { return pe::IsType(r, pe::kVersion); }),
                    resources.end());
    pe::Resource versionResource;
    versionResource.type.id = pe::kVersion;
    versionResource.name.id = 1;
    versionResource.language = language;
    versionResource.data = ProductVersionResource(identity);
    resources.push_back(std::move(versionResource));
    if (!pictures.empty()) ReplaceIcon(resources, pictures);
}

void StampEngine(const std::string& path, const ProductIdentity& identity) {
    std::vector<ico::Picture> pictures;
    if (!identity.icon.empty()) {
        try {
            pictures = ico::ReadIconFile(identity.icon.string());
        } catch (const std::exception& e) {
            throw std::runtime_error(identity.icon.string() + ": " + e.what());
        }
    }
    try {
        const pe::Image image(ReadWhole(path));
        std::vector<pe::Resource> resources = pe::ReadResources(image.ResourceBytes(), image.ResourceRva());
        StampResources(resources, identity, pictures);
        WriteWhole(path, image.WithResources(pe::BuildResourceSection(resources, image.ResourceRva())));
    } catch (const std::exception& e) {
        throw std::runtime_error(path + ": cannot stamp the product's name and icon: " + e.what());
    }
}

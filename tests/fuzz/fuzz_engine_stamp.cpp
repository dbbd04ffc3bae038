// cvpack's stamp of a shipped setup.exe: any bytes as the engine are refused
// with std::runtime_error or stamped; a stamped program is one the reader
// accepts again, with the resources that were written. The first byte picks
// the bytes as an icon file instead, which is read or refused likewise.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "EngineStamp.h"
#include "FuzzInput.h"
#include "PeImage.h"

namespace {

void Icon(const std::string& bytes) {
    try {
        for (const ico::Picture& p : ico::ParseIcon(bytes))
            if (p.data.empty() || p.data.size() > bytes.size()) __builtin_trap();
    } catch (const std::runtime_error&) {
    }
}

void Engine(const std::string& bytes) {
    ProductIdentity identity;
    identity.productName = u"Fuzz";
    identity.productVersion = u"1.2.3.4";
    ico::Picture picture;
    picture.width = picture.height = 16;
    picture.data = std::string("\x89PNG\r\n\x1A\n", 8) + "picture";
    try {
        const pe::Image image(bytes);
        std::vector<pe::Resource> resources = pe::ReadResources(image.ResourceBytes(), image.ResourceRva());
        StampResources(resources, identity, {picture});
        const std::string stamped = image.WithResources(pe::BuildResourceSection(resources, image.ResourceRva()));
        const pe::Image again(stamped);  // throws, and so fails the run below, if the writer broke the layout
        if (pe::ReadResources(again.ResourceBytes(), again.ResourceRva()).size() != resources.size()) __builtin_trap();
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).empty()) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const bool icon = input.Byte() & 1;
    const std::string bytes = input.Rest();
    if (icon) Icon(bytes);
    else Engine(bytes);
    return 0;
}

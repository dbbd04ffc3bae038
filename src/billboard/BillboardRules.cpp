#include "billboard/BillboardRules.h"

#include <algorithm>

#include "core/FileList.h"
#include "core/SettingsKeys.h"
#include "core/SettingsRules.h"
#include "core/WorkingFolder.h"

namespace billboard {

namespace {

// USER_TIMER_MAXIMUM: the longest time a window timer accepts.
constexpr uint32_t kLongestTimer = 0x7FFFFFFF;
// The second disk image of a project split over two media holds pictures only.
constexpr char kSecondDiskImage[] = "DiskImage2";

}  // namespace

int ScreenEdge(const std::string& value) {
    const int n = core::settings::ParseNumber(value.c_str());
    return n == 0 ? 1 : n;
}

uint32_t DisplayMilliseconds(const std::string& seconds) {
    const int n = core::settings::ParseNumber(seconds.c_str());
    if (n <= 0) return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(n) * 1000, kLongestTimer));
}

std::vector<Billboard> ReadBillboards(const KeyReader& read, unsigned codePage) {
    namespace k = core::keys::billboardscv;
    using core::settings::ListKey;
    const int total = std::min(
        core::settings::ParseNumber(read(core::keys::kTotal, core::settings::kShortValueSize).c_str()),
        kMaxBillboards);
    std::vector<Billboard> list;
    for (int i = 0; i < total; ++i) {
        Billboard b;
        b.picture = core::filelist::FileNameOf(read(ListKey(k::kPicture, i), core::settings::kValueSize), codePage);
        b.milliseconds = DisplayMilliseconds(read(ListKey(k::kSeconds, i), core::settings::kValueSize));
        b.left = ScreenEdge(read(ListKey(k::kLeft, i), core::settings::kValueSize));
        b.top = ScreenEdge(read(ListKey(k::kTop, i), core::settings::kValueSize));
        list.push_back(b);
    }
    return list;
}

std::vector<std::string> PictureCandidates(const std::string& workingFolder,
                                           const std::string& sourceFolder, const std::string& name) {
    return {workingFolder + name, sourceFolder + core::kDiskImageFolderName + "\\" + name,
            sourceFolder + kSecondDiskImage + "\\" + name};
}

}  // namespace billboard

// The billboards a project lists, their places, times and picture lookup.
#include <gtest/gtest.h>

#include <map>

#include "billboard/BillboardRules.h"

namespace {

billboard::KeyReader Section(std::map<std::string, std::string> keys) {
    return [keys](const std::string& key, int size) {
        auto it = keys.find(key);
        std::string v = it == keys.end() ? std::string() : it->second;
        if (v.size() > static_cast<size_t>(size - 1)) v.resize(size - 1);
        return v;
    };
}

TEST(BillboardRules, ListFromTheSection) {
    auto list = billboard::ReadBillboards(
        Section({{"TOTAL", "3"},
                 {"B0", "C:\\Project\\Pictures\\one.bmp"}, {"C0", "4"}, {"D0", "0"}, {"E0", "0"},
                 {"B1", "two.jpg"}, {"C1", "x"}, {"D1", "300"}, {"E1", "200"},
                 {"B2", "three.gif"}}),
        1252);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].picture, "one.bmp");
    EXPECT_EQ(list[0].milliseconds, 4000u);
    // Positions 0 and none are 1, so the window is never in the very corner.
    EXPECT_EQ(list[0].left, 1);
    EXPECT_EQ(list[0].top, 1);
    EXPECT_EQ(list[1].milliseconds, 0u);  // no number: the next one follows at once
    EXPECT_EQ(list[1].left, 300);
    EXPECT_EQ(list[1].top, 200);
    EXPECT_EQ(list[2].left, 1);
    EXPECT_EQ(list[2].top, 1);
}

TEST(BillboardRules, CountAndTimesStayInBounds) {
    EXPECT_TRUE(billboard::ReadBillboards(Section({}), 1252).empty());
    EXPECT_TRUE(billboard::ReadBillboards(Section({{"TOTAL", "-4"}}), 1252).empty());
    EXPECT_EQ(billboard::ReadBillboards(Section({{"TOTAL", "99999"}}), 1252).size(),
              static_cast<size_t>(billboard::kMaxBillboards));
    EXPECT_EQ(billboard::DisplayMilliseconds("-3"), 0u);
    EXPECT_EQ(billboard::DisplayMilliseconds("99999999999"), 0x7FFFFFFFu);
}

TEST(BillboardRules, PictureLookupOrder) {
    const auto paths = billboard::PictureCandidates("C:\\Temp\\cv1\\", "D:\\Setup\\", "one.bmp");
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], "C:\\Temp\\cv1\\one.bmp");
    EXPECT_EQ(paths[1], "D:\\Setup\\DiskImage1\\one.bmp");
    EXPECT_EQ(paths[2], "D:\\Setup\\DiskImage2\\one.bmp");
}

}  // namespace

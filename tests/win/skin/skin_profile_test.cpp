// Layout files read through the real profile functions: the same values as
// the in-memory reader, the key list of a section, and the queries other
// parts of the program ask of a layout file.
#include "skin/LayoutQueries.h"
#include "skin/MemoryIniSource.h"
#include "skin/ProfileIniSource.h"
#include "TestFiles.h"

namespace {

class SkinProfile : public ::testing::Test {
protected:
    ScratchFolder dir;
};

const char kLayout[] =
    "[MainWindow]\r\n Caption = \"Quoted <ProductName>\" \r\ncaption=second\r\n"
    "[INFO]\r\nTOTAL=11\r\n0=a,1,2,3,4,TEXT,,x,3000\r\n10=b\r\n007=c\r\n; 5=comment\r\n"
    "[DADOS]\r\n3000,0=Name|IDC_TITLE|0\r\n3010,0=Name|IDC_TEN|0\r\n";

TEST_F(SkinProfile, ReadsAsTheMemoryReaderDoes) {
    std::string path = dir.Write("page.lcd", kLayout);
    skin::ProfileIniSource file(path);
    skin::MemoryIniSource memory(kLayout);
    for (auto key : {std::make_pair("MAINWINDOW", "caption"), std::make_pair("info", "total"),
                     std::make_pair("INFO", "0"), std::make_pair("INFO", "7"), std::make_pair("INFO", "5"),
                     std::make_pair("DADOS", "3010,0"), std::make_pair("NONE", "x")}) {
        SCOPED_TRACE(std::string(key.first) + "/" + key.second);
        EXPECT_EQ(file.Read(key.first, key.second, 255), memory.Read(key.first, key.second, 255));
    }
    EXPECT_EQ(file.Read("MAINWINDOW", "caption", 255), "Quoted <ProductName>");
    EXPECT_EQ(file.Read("MAINWINDOW", "caption", 7), "Quoted");
    EXPECT_EQ(file.KeyNames("INFO"), memory.KeyNames("INFO"));
    EXPECT_EQ(file.KeyNames("INFO"), (std::vector<std::string>{"TOTAL", "0", "10", "007"}));
    EXPECT_TRUE(file.KeyNames("NONE").empty());
}

TEST_F(SkinProfile, LongKeyListsAreReadWhole) {
    std::string text = "[INFO]\r\n";
    for (int i = 0; i < 20000; ++i) text += std::to_string(i) + "=x\r\n";
    skin::ProfileIniSource file(dir.Write("long.lcd", text));
    std::vector<std::string> names = file.KeyNames("INFO");
    ASSERT_EQ(names.size(), 20000u);
    EXPECT_EQ(names.back(), "19999");
}

TEST_F(SkinProfile, ControlCountAndFirstPropertyValue) {
    std::string path = dir.Write("page.lcd", kLayout);
    EXPECT_EQ(skin::layout::ControlCountOfFile(path), 11);
    EXPECT_EQ(skin::layout::FirstPropertyValueOfFile(path, 0), "IDC_TITLE");
    EXPECT_EQ(skin::layout::FirstPropertyValueOfFile(path, 10), "IDC_TEN");
    EXPECT_EQ(skin::layout::FirstPropertyValueOfFile(path, 1), "");
    EXPECT_EQ(skin::layout::ControlCountOfFile(dir.Path() + "absent.lcd"), 0);
    EXPECT_FALSE(ScratchFolder::Exists(dir.Path() + "absent.lcd"));  // reading creates nothing
}

}  // namespace

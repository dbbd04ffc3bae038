// The single file a repair takes its cabinet from is only ever a name in
// the folder the product was installed from.
#include <gtest/gtest.h>

#include "install/registration/SetupCacheRules.h"

namespace {

using install::setupcache::SingleFileNameOf;

TEST(SetupCacheRules, OnlyABareFileNameIsTaken) {
    EXPECT_EQ(SingleFileNameOf("Single Setup.exe"), "Single Setup.exe");
    EXPECT_EQ(SingleFileNameOf("Single Setup.exe\r\nmore"), "Single Setup.exe");
    EXPECT_EQ(SingleFileNameOf("Pr\xC3\xB6""be.exe"), "Pr\xC3\xB6""be.exe");
    for (const char* bad : {"", "\r\n", ".", "..", "..\\x.exe", "sub\\x.exe", "/x.exe", "C:x.exe", "x.exe:stream",
                            "x\t.exe"})
        EXPECT_EQ(SingleFileNameOf(bad), "") << bad;
    EXPECT_EQ(SingleFileNameOf(std::string(256, 'a')), "");
    EXPECT_EQ(SingleFileNameOf(std::string(255, 'a')), std::string(255, 'a'));
}

}  // namespace

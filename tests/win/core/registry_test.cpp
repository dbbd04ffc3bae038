// Registry operations against the real registry (under a scratch key).
#include "core/Registry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const char kKey[] = "Software\\CorvaneTests\\Registry";

class RegistryOps : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneTests"); }
    void TearDown() override {
        core::registry::SetKeyAccessObserver(nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\CorvaneTests");
    }
    static void CreateKey(HKEY root, const char* path) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(k);
    }
};

TEST_F(RegistryOps, WritesNeedAnExistingKeyAndReadBack) {
    EXPECT_FALSE(core::registry::WriteUserText(kKey, "v", "text"));
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "");
    CreateKey(HKEY_CURRENT_USER, kKey);
    EXPECT_TRUE(core::registry::WriteUserText(kKey, "v", "text"));
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "text");
    EXPECT_EQ(core::registry::ReadText(HKEY_CURRENT_USER, kKey, "v"), "text");
    EXPECT_EQ(core::registry::ReadUserText(kKey, "absent"), "");
}

TEST_F(RegistryOps, TextValuesAreStoredAsRegSzWithTheirTerminator) {
    CreateKey(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(core::registry::WriteText(HKEY_CURRENT_USER, kKey, "v", "abc"));
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, "v", RRF_RT_ANY, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 4u);
}

TEST_F(RegistryOps, EnsureKeyByRootNameDropsARootPrefixAndRejectsUnknownRoots) {
    EXPECT_TRUE(core::registry::EnsureKeyByRootName("HKEY_CURRENT_USER",
                                              std::string("HKEY_CURRENT_USER\\") + kKey));
    EXPECT_TRUE(core::registry::WriteUserText(kKey, "v", "1"));
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "1");
    EXPECT_FALSE(core::registry::EnsureKeyByRootName("HKCU", "Software\\CorvaneTests\\Other"));
    EXPECT_FALSE(core::registry::EnsureKeyByRootName("hkey_current_user", "Software\\CorvaneTests\\Other"));
    HKEY k;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\CorvaneTests\\Other", 0, KEY_READ, &k),
              ERROR_SUCCESS);
}

TEST_F(RegistryOps, DeleteValueChoosesTheRootByFlag) {
    CreateKey(HKEY_CURRENT_USER, kKey);
    core::registry::WriteUserText(kKey, "v", "x");
    EXPECT_FALSE(core::registry::DeleteValue(true, kKey, "v"));  // not under the machine root
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "x");
    EXPECT_TRUE(core::registry::DeleteValue(false, kKey, "v"));
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "");
}

TEST_F(RegistryOps, OverLongNamesAreRefused) {
    CreateKey(HKEY_CURRENT_USER, kKey);
    const std::string longName(256, 'n');
    EXPECT_FALSE(core::registry::WriteUserText(kKey, longName, "x"));
    EXPECT_EQ(core::registry::ReadUserText(kKey, longName), "");
    EXPECT_TRUE(core::registry::WriteUserText(kKey, std::string(255, 'n'), "x"));
}

TEST_F(RegistryOps, MachineValuesTheStartUpReads) {
    EXPECT_EQ(core::registry::ReadMachineText("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\",
                                        "ProgramFilesDir"),
              "C:\\Program Files");
    EXPECT_TRUE(core::registry::EnsureMachineKey("Software\\CorvaneTests"));
    EXPECT_TRUE(core::registry::WriteMachineNumber("Software\\CorvaneTests", "n", 7));
    DWORD v = 0, size = sizeof v;
    EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\CorvaneTests", "n", RRF_RT_REG_DWORD,
                           nullptr, &v, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(v, 7u);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\CorvaneTests");
}

// What the helpers ask for when they open keys. Wine runs every program as
// an administrator, so a full-access open that a user without elevation is
// refused works here: the access asked for is what tells.
std::vector<REGSAM> g_access;
void RecordAccess(HKEY, const std::string&, REGSAM access) { g_access.push_back(access); }

TEST_F(RegistryOps, ReadsOpenKeysForReadingOnly) {
    CreateKey(HKEY_CURRENT_USER, kKey);
    core::registry::WriteUserText(kKey, "v", "text");
    g_access.clear();
    core::registry::SetKeyAccessObserver(&RecordAccess);
    const char kVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";
    EXPECT_EQ(core::registry::ReadMachineText(kVersionKey, "ProgramFilesDir"), "C:\\Program Files");
    EXPECT_EQ(core::registry::ReadMachineText(kVersionKey, "CommonFilesDir"),
              "C:\\Program Files\\Common Files");
    EXPECT_EQ(core::registry::ReadUserText(kKey, "v"), "text");
    EXPECT_EQ(core::registry::ReadText(HKEY_CURRENT_USER, kKey, "v"), "text");
    ASSERT_EQ(g_access.size(), 4u);
    for (REGSAM access : g_access) {
        EXPECT_NE(access & KEY_QUERY_VALUE, 0u);
        EXPECT_EQ(access & ~static_cast<REGSAM>(KEY_READ), 0u) << std::hex << access;
    }
}

TEST_F(RegistryOps, WritesAndTheAdministratorTestAskForWhatTheyNeed) {
    CreateKey(HKEY_CURRENT_USER, kKey);
    core::registry::SetKeyAccessObserver(&RecordAccess);
    g_access.clear();
    core::registry::WriteUserText(kKey, "v", "text");
    core::registry::DeleteValue(false, kKey, "v");
    EXPECT_EQ(g_access, (std::vector<REGSAM>{KEY_SET_VALUE, KEY_SET_VALUE}));
    g_access.clear();
    EXPECT_TRUE(core::registry::OpensWithFullAccess(HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(g_access, std::vector<REGSAM>{KEY_ALL_ACCESS});
}

}  // namespace

// The service rules: the texts of service types, start types and error
// controls, and which systems have services.
#include <gtest/gtest.h>

#include "install/services/ServiceRules.h"

namespace {

namespace rules = install::servicerules;

TEST(ServiceRules, TextsGiveTheirNumbersAndAnythingElseZero) {
    EXPECT_EQ(rules::ServiceTypeFromText("SERVICE_WIN32_OWN_PROCESS"), 16u);
    EXPECT_EQ(rules::ServiceTypeFromText("SERVICE_WIN32_SHARE_PROCESS"), 32u);
    EXPECT_EQ(rules::ServiceTypeFromText("SERVICE_INTERACTIVE_PROCESS"), 256u);
    EXPECT_EQ(rules::StartTypeFromText("SERVICE_SYSTEM_START"), 1u);
    EXPECT_EQ(rules::StartTypeFromText("SERVICE_AUTO_START"), 2u);
    EXPECT_EQ(rules::StartTypeFromText("SERVICE_DEMAND_START"), 3u);
    EXPECT_EQ(rules::StartTypeFromText("SERVICE_DISABLED"), 4u);
    EXPECT_EQ(rules::ErrorControlFromText("SERVICE_ERROR_NORMAL"), 1u);
    EXPECT_EQ(rules::ErrorControlFromText("SERVICE_ERROR_CRITICAL"), 3u);
    // Exact matches only: case, spaces, combinations and other names give 0.
    for (const char* text : {"", "service_win32_own_process", "SERVICE_WIN32_OWN_PROCESS ",
                             "SERVICE_WIN32_OWN_PROCESS|SERVICE_INTERACTIVE_PROCESS",
                             "SERVICE_KERNEL_DRIVER", "16"}) {
        EXPECT_EQ(rules::ServiceTypeFromText(text), 0u) << text;
        EXPECT_EQ(rules::StartTypeFromText(text), 0u) << text;
        EXPECT_EQ(rules::ErrorControlFromText(text), 0u) << text;
    }
    EXPECT_EQ(rules::StartTypeFromText("Service_Auto_Start"), 0u);
    EXPECT_EQ(rules::ErrorControlFromText("SERVICE_ERROR_SEVERE"), 0u);
    // Only the systems of the 95 family lack services; a name the version
    // table does not know (today's Windows) has them.
    for (const char* os : {"95", "98", "98SE", "ME"}) EXPECT_FALSE(rules::HasServices(os)) << os;
    for (const char* os : {"", "NT4", "2000", "XP", "NET", "98se"}) EXPECT_TRUE(rules::HasServices(os)) << os;
}

}  // namespace

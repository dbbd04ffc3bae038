// The services action against the service control manager of the test's Wine
// prefix: services created and logged, and refusals (a service that exists)
// answered Retry, Ignore and Cancel by a scripted context.
#include <windows.h>

#include <vector>

#include "core/Messages.h"
#include "core/Placeholders.h"
#include "install/services/Services.h"

#include "ScriptedContext.h"

namespace {

using install::ErrorChoice;

// ---- The service control manager of the prefix, for setting up and checking ----

bool CreateTestService(const std::string& name) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                                 SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                 SERVICE_ERROR_IGNORE, "C:\\none.exe", nullptr,
                                                 nullptr, nullptr, nullptr, nullptr)
                                : nullptr;
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return service != nullptr;
}

void DeleteTestService(const std::string& name) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = manager ? OpenServiceA(manager, name.c_str(), DELETE) : nullptr;
    if (service) {
        DeleteService(service);
        CloseServiceHandle(service);
    }
    if (manager) CloseServiceHandle(manager);
}

struct Config {
    bool exists = false;
    DWORD type = 0, start = 0, error = 0;
    std::string binary, display;
};

Config ConfigOf(const std::string& name) {
    Config c;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceA(manager, name.c_str(), SERVICE_QUERY_CONFIG) : nullptr;
    alignas(QUERY_SERVICE_CONFIGA) unsigned char buffer[8192];
    DWORD needed = 0;
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
    if (service && QueryServiceConfigA(service, config, sizeof buffer, &needed)) {
        c = {true, config->dwServiceType, config->dwStartType, config->dwErrorControl,
             config->lpBinaryPathName ? config->lpBinaryPathName : "",
             config->lpDisplayName ? config->lpDisplayName : ""};
    }
    if (service) CloseServiceHandle(service);
    if (manager) CloseServiceHandle(manager);
    return c;
}

// The services of one test, removed before (a leftover of a stopped run) and after.
class TestServices {
public:
    explicit TestServices(std::vector<std::string> names) : names_(std::move(names)) { DeleteAll(); }
    ~TestServices() { DeleteAll(); }

private:
    void DeleteAll() {
        for (const std::string& n : names_) DeleteTestService(n);
    }
    std::vector<std::string> names_;
};

// One NTSERVICE entry of setup.inf.
std::string Entry(int i, const std::string& name, const std::string& type, const std::string& start,
                  const std::string& error, const std::string& command) {
    const std::string n = std::to_string(i);
    return "A" + n + "=" + name + "\r\nB" + n + "=" + name + " Display\r\nC" + n + "=" + type +
           "\r\nD" + n + "=" + start + "\r\nE" + n + "=" + error + "\r\nF" + n + "=" + command +
           "\r\n";
}

std::string Failure(const std::string& name) {
    return "Corvane can't install " + name + " Display service. What do you want to do ?";
}


// Entries: a new service; one that exists (Retry, Retry after it was
// removed); the first one again (Ignore), and again (Cancel); a last new one.
TEST(ServicesAction, CreatesLogsAndPutsRefusalsToTheUser) {
    TestServices cleanup({"cvunit_new", "cvunit_taken", "cvunit_last"});
    ASSERT_TRUE(CreateTestService("cvunit_taken"));
    ScratchFolder dir;
    const std::string own = "SERVICE_WIN32_OWN_PROCESS", demand = "SERVICE_DEMAND_START",
                      normal = "SERVICE_ERROR_NORMAL";
    dir.Write("setup.inf", "[NTSERVICE]\r\nTOTAL=5\r\n" +
                               Entry(0, "cvunit_new", own, "SERVICE_AUTO_START", "SERVICE_ERROR_CRITICAL",
                                     "\"<InstallDir>svc.exe\" -run") +
                               Entry(1, "cvunit_taken", own, demand, normal, "C:\\taken.exe") +
                               Entry(2, "cvunit_new", own, demand, normal, "C:\\x.exe") +
                               Entry(3, "cvunit_new", own, demand, normal, "C:\\x.exe") +
                               Entry(4, "cvunit_last", "SERVICE_WIN32_SHARE_PROCESS", "SERVICE_DISABLED",
                                     "no such control", "C:\\last.exe"));
    ScriptedContext ctx(dir);
    ctx.answers = {ErrorChoice::Retry, ErrorChoice::Retry, ErrorChoice::Ignore, ErrorChoice::Cancel};
    ctx.beforeAnswer = [](size_t question) {
        if (question == 1) DeleteTestService("cvunit_taken");  // the second Retry finds the name free
    };

    EXPECT_EQ(install::InstallServices(ctx), install::ActionResult::Continue);

    EXPECT_EQ(ctx.statuses, std::vector<std::string>{"Installing Service..."});
    EXPECT_EQ(ctx.QuestionTexts(), (std::vector<std::string>{Failure("cvunit_taken"), Failure("cvunit_taken"),
                                                            Failure("cvunit_new"), Failure("cvunit_new")}));
    EXPECT_EQ(ctx.log, (std::vector<std::string>{"NTSERVICE=cvunit_new", "NTSERVICE=cvunit_taken",
                                                 "NTSERVICE=cvunit_last"}));
    // Cancel marked the run abandoned without ending it: the last entry was still created.
    EXPECT_TRUE(ctx.markedAbandoned);
    EXPECT_FALSE(ctx.abandoned);

    const Config created = ConfigOf("cvunit_new");
    ASSERT_TRUE(created.exists);
    EXPECT_EQ(created.type, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(created.start, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(created.error, static_cast<DWORD>(SERVICE_ERROR_CRITICAL));
    EXPECT_EQ(created.binary, "\"" + dir.Path() + "app\\svc.exe\" -run");
    EXPECT_EQ(created.display, "cvunit_new Display");
    EXPECT_EQ(ConfigOf("cvunit_taken").binary, "C:\\taken.exe");
    const Config last = ConfigOf("cvunit_last");
    EXPECT_EQ(last.type, static_cast<DWORD>(SERVICE_WIN32_SHARE_PROCESS));
    EXPECT_EQ(last.start, static_cast<DWORD>(SERVICE_DISABLED));
    EXPECT_EQ(last.error, static_cast<DWORD>(SERVICE_ERROR_IGNORE));  // an unknown text reads as 0
}

TEST(ServicesAction, OldSystemsAndEmptyListsCreateNothing) {
    TestServices cleanup({"cvunit_old"});
    ScratchFolder dir;
    dir.Write("setup.inf", "[NTSERVICE]\r\nTOTAL=1\r\n" +
                               Entry(0, "cvunit_old", "SERVICE_WIN32_OWN_PROCESS", "SERVICE_DEMAND_START",
                                     "SERVICE_ERROR_NORMAL", "C:\\old.exe"));
    ScriptedContext old(dir);
    old.MutableSetup().osName = "98SE";
    install::InstallServices(old);
    EXPECT_EQ(old.statuses, std::vector<std::string>{"Installing Service..."});
    EXPECT_TRUE(old.log.empty());
    EXPECT_TRUE(old.questions.empty());
    EXPECT_FALSE(ConfigOf("cvunit_old").exists);

    // TOTAL 0 (or none, or negative): not even the status changes.
    for (const char* total : {"0", "", "-3"}) {
        dir.Write("setup.inf", std::string("[NTSERVICE]\r\nTOTAL=") + total + "\r\n" +
                                   Entry(0, "cvunit_old", "SERVICE_WIN32_OWN_PROCESS",
                                         "SERVICE_DEMAND_START", "SERVICE_ERROR_NORMAL", "C:\\old.exe"));
        ScriptedContext empty(dir);
        install::InstallServices(empty);
        EXPECT_TRUE(empty.statuses.empty()) << total;
        EXPECT_FALSE(ConfigOf("cvunit_old").exists) << total;
    }
}

}  // namespace

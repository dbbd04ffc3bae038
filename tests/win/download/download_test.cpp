// Transfers and text fetches against a server in the test process: whole
// files with and without a length, redirects (followed by the setup, within
// bounds), failed statuses, short, stalled and chunked bodies, resumes and
// the ranges they get, digests, cancels and the deadline of a text; the
// target never stays behind a failure.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HttpTestServer.h"
#include "TestFiles.h"
#include "download/FetchText.h"
#include "download/FileDigest.h"
#include "download/FileTransfer.h"
#include "download/Internet.h"

namespace {

using download::TransferResult;

// A body whose every position differs from its neighbours, so a misplaced
// piece shows.
std::string Body(size_t size) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return body;
}

class RecordingDisplay : public download::ProgressDisplay {
public:
    void ShowDownloadProgress() override { ++shown; }
    void UpdateDownloadProgress(const download::ProgressReport& r) override { reports.push_back(r); }
    void HideDownloadProgress() override { ++hidden; }
    int shown = 0, hidden = 0;
    std::vector<download::ProgressReport> reports;
};

// Shortens the receive time-out for one test.
class ShortTimeout {
public:
    explicit ShortTimeout(const char* ms) { _putenv_s(download::inet::kTimeoutVariable, ms); }
    ~ShortTimeout() { _putenv_s(download::inet::kTimeoutVariable, ""); }
};

struct Attempted {
    download::TransferOutcome outcome;
    RecordingDisplay display;
    DWORD ms = 0;
};

void Download(Attempted& run, const std::string& address, const std::string& target, const std::string& sha256 = "",
              std::function<bool()> cancel = nullptr) {
    const DWORD start = GetTickCount();
    run.outcome = download::DownloadFile({address, target, sha256, false}, &run.display, std::move(cancel));
    run.ms = GetTickCount() - start;
}

TEST(DownloadFile, WholeFilesWithALengthThroughARedirectAndWithoutALength) {
    ScratchFolder dir;
    const std::string body = Body(3 * 1024 * 1024 + 17);
    HttpTestServer server(body);
    const std::string target = dir.Path() + "big.bin";
    for (const char* path : {"/ok", "/redirect"}) {
        Attempted run;
        Download(run, server.Url(path), target);
        ASSERT_EQ(run.outcome.result, TransferResult::Done) << path << ": " << run.outcome.reason;
        EXPECT_TRUE(ScratchFolder::Read(target) == body) << path;
        EXPECT_EQ(run.display.shown, 1);
        EXPECT_EQ(run.display.hidden, 1);
    }

    // Sent slowly over more than a second: the line shows what arrived, the bar stays.
    const std::string smaller = body.substr(0, 1024 * 1024);
    HttpTestServer unsized(smaller);
    Attempted run;
    Download(run, unsized.Url("/nolength?slow"), target);
    ASSERT_EQ(run.outcome.result, TransferResult::Done) << run.outcome.reason;
    EXPECT_TRUE(ScratchFolder::Read(target) == smaller);
    ASSERT_FALSE(run.display.reports.empty());
    for (const auto& r : run.display.reports) {
        EXPECT_EQ(r.percent, -1);
        EXPECT_EQ(r.info.rfind("Received: ", 0), 0u) << r.info;
    }
}

TEST(DownloadFile, ProgressWithALengthCountsUpToTheWholeFile) {
    ScratchFolder dir;
    const std::string body = Body(1024 * 1024);
    HttpTestServer server(body);
    Attempted run;
    Download(run, server.Url("/ok?slow"), dir.Path() + "f.bin");
    ASSERT_EQ(run.outcome.result, TransferResult::Done) << run.outcome.reason;
    ASSERT_FALSE(run.display.reports.empty());
    int last = 0;
    for (const auto& r : run.display.reports) {
        EXPECT_GE(r.percent, last);
        EXPECT_LE(r.percent, 100);
        last = r.percent;
        EXPECT_EQ(r.info.rfind("Estimated time left: ", 0), 0u) << r.info;
        EXPECT_NE(r.info.find(" of 1.00 MB copied) - "), std::string::npos) << r.info;
    }
}

TEST(DownloadFile, FailedStatusesLeaveNoFile) {
    ScratchFolder dir;
    HttpTestServer server(Body(1000));
    const std::string target = dir.Write("old.bin", "was here");
    for (const char* code : {"404", "401", "407", "500"}) {
        Attempted run;
        Download(run, server.Url(std::string("/status/") + code), target);
        EXPECT_EQ(run.outcome.result, TransferResult::Failed) << code;
        EXPECT_NE(run.outcome.reason.find(std::string("Status Code:") + code), std::string::npos)
            << run.outcome.reason;
        EXPECT_FALSE(ScratchFolder::Exists(target)) << code;
    }
    // A status is an answer, not a dropped connection: it is asked once.
    EXPECT_EQ(server.Requests().size(), 4u);
}

TEST(DownloadFile, NoServerAndNoUsableAddressFailAtOnce) {
    ScratchFolder dir;
    const std::string target = dir.Path() + "none.bin";
    int closedPort;
    { HttpTestServer gone(""); closedPort = gone.Port(); }
    for (const std::string& address : {"http://127.0.0.1:" + std::to_string(closedPort) + "/ok",
                                       std::string("http://127.0.0.1"), std::string("ftp://127.0.0.1/a")}) {
        Attempted run;
        Download(run, address, target);
        EXPECT_EQ(run.outcome.result, TransferResult::Failed) << address;
        EXPECT_FALSE(run.outcome.reason.empty()) << address;
        EXPECT_LT(run.ms, 5000u) << address;  // no retries for a server that is not there
        EXPECT_FALSE(ScratchFolder::Exists(target)) << address;
    }
}

TEST(DownloadFile, DroppedConnectionsAreRetriedAndResumed) {
    ShortTimeout quick("800");
    ScratchFolder dir;
    const std::string body = Body(200000);
    const std::string target = dir.Path() + "f.bin";

    // The first answer breaks off halfway: the second asks for the rest.
    HttpTestServer resuming(body);
    Attempted resumed;
    Download(resumed, resuming.Url("/droponce"), target);
    ASSERT_EQ(resumed.outcome.result, TransferResult::Done) << resumed.outcome.reason;
    EXPECT_TRUE(ScratchFolder::Read(target) == body);
    EXPECT_EQ(resuming.Requests(),
              (std::vector<std::string>{"/droponce", "/droponce Range: bytes=100000-"}));

    // Always short: tried four times in all, then given up, the part deleted.
    HttpTestServer shortBodies(body);
    Attempted cut;
    Download(cut, shortBodies.Url("/short"), target);
    EXPECT_EQ(cut.outcome.result, TransferResult::Failed);
    EXPECT_EQ(shortBodies.Requests().size(), 4u);
    EXPECT_FALSE(ScratchFolder::Exists(target));

    // Silent halfway: each try ends at the time-out.
    HttpTestServer stalling(body);
    Attempted stalled;
    Download(stalled, stalling.Url("/stall"), target);
    EXPECT_EQ(stalled.outcome.result, TransferResult::Failed);
    EXPECT_FALSE(stalled.outcome.reason.empty());
    EXPECT_EQ(stalling.Requests().size(), 4u);
    EXPECT_LT(stalled.ms, 15000u);
    EXPECT_FALSE(ScratchFolder::Exists(target));
}

TEST(DownloadFile, RetriesStartOverOrContinueExactlyWhereTheFileStopped) {
    ShortTimeout quick("800");
    ScratchFolder dir;
    const std::string body = Body(20000);
    const std::string target = dir.Path() + "f.bin";

    // No ranges: the retry's whole file replaces the part, never follows it.
    HttpTestServer plain(body);
    Attempted anew;
    Download(anew, plain.Url("/dropplain"), target);
    ASSERT_EQ(anew.outcome.result, TransferResult::Done) << anew.outcome.reason;
    EXPECT_EQ(ScratchFolder::Read(target).size(), body.size());
    EXPECT_TRUE(ScratchFolder::Read(target) == body);
    EXPECT_EQ(plain.Requests(), (std::vector<std::string>{"/dropplain", "/dropplain"}));

    // A part that does not start where the file stopped, a part nobody asked
    // for, a chunked body (cut off or not: its end cannot be checked).
    for (const char* path : {"/dropwrong", "/partial", "/chunkedshort", "/chunked"}) {
        HttpTestServer server(body);
        Attempted run;
        Download(run, server.Url(path), target);
        EXPECT_EQ(run.outcome.result, TransferResult::Failed) << path;
        EXPECT_FALSE(run.outcome.reason.empty()) << path;
        EXPECT_FALSE(ScratchFolder::Exists(target)) << path;
    }
}

TEST(DownloadFile, RedirectsAreFollowedWithinBoundsAndOnlyToWebAddresses) {
    ScratchFolder dir;
    const std::string body = Body(5000);
    HttpTestServer server(body);
    const std::string target = dir.Path() + "f.bin";

    Attempted onServer;
    Download(onServer, server.Url("/to//ok"), target);
    ASSERT_EQ(onServer.outcome.result, TransferResult::Done) << onServer.outcome.reason;
    EXPECT_TRUE(ScratchFolder::Read(target) == body);

    // (Upper case: a web item's address loses every "http://" in it.)
    Attempted absolute;
    Download(absolute, server.Url("/to/HTTP://127.0.0.1:" + std::to_string(server.Port()) + "/redirect"), target);
    ASSERT_EQ(absolute.outcome.result, TransferResult::Done) << absolute.outcome.reason;

    Attempted looping;
    Download(looping, server.Url("/loop"), target);
    EXPECT_EQ(looping.outcome.result, TransferResult::Failed);
    EXPECT_NE(looping.outcome.reason.find("too many"), std::string::npos) << looping.outcome.reason;
    EXPECT_FALSE(ScratchFolder::Exists(target));

    Attempted elsewhere;
    Download(elsewhere, server.Url("/to/ftp://127.0.0.1/f.bin"), target);
    EXPECT_EQ(elsewhere.outcome.result, TransferResult::Failed);
    EXPECT_NE(elsewhere.outcome.reason.find("ftp://127.0.0.1/f.bin"), std::string::npos) << elsewhere.outcome.reason;
    EXPECT_FALSE(ScratchFolder::Exists(target));

    // The loop is asked once and five times more; every request went to this server.
    size_t loops = 0;
    for (const std::string& r : server.Requests()) loops += r == "/loop";
    EXPECT_EQ(loops, 6u);
}

TEST(DownloadFile, KeptOnlyWithTheDigestTheProjectNames) {
    ScratchFolder dir;
    const std::string body = Body(70000);
    HttpTestServer server(body);
    const std::string reference = dir.Write("reference.bin", body);
    const std::string digest = download::FileSha256Hex(reference);
    ASSERT_EQ(digest.size(), 64u);
    const std::string target = dir.Path() + "f.bin";

    Attempted good;
    Download(good, server.Url("/ok"), target, digest);
    EXPECT_EQ(good.outcome.result, TransferResult::Done) << good.outcome.reason;

    std::string wrong = digest;
    wrong[0] = wrong[0] == '0' ? '1' : '0';
    Attempted bad;
    Download(bad, server.Url("/ok"), target, wrong);
    EXPECT_EQ(bad.outcome.result, TransferResult::Failed);
    EXPECT_NE(bad.outcome.reason.find("SHA-256"), std::string::npos) << bad.outcome.reason;
    EXPECT_FALSE(ScratchFolder::Exists(target));

    const download::TransferOutcome malformed =
        download::DownloadFile({server.Url("/ok"), target, "", true}, nullptr, nullptr);
    EXPECT_EQ(malformed.result, TransferResult::Failed);
    EXPECT_FALSE(ScratchFolder::Exists(target));
}

TEST(DownloadFile, CancelEndsTheTransferAtOnceAndDeletesThePart) {
    ScratchFolder dir;
    const std::string body = Body(3 * 1024 * 1024);
    HttpTestServer server(body);
    const std::string target = dir.Path() + "f.bin";

    // While bytes flow.
    Attempted flowing;
    const DWORD start = GetTickCount();
    Download(flowing, server.Url("/ok?slow"), target, "", [&] { return GetTickCount() - start > 1500; });
    EXPECT_EQ(flowing.outcome.result, TransferResult::Cancelled);
    EXPECT_LT(flowing.ms, 4000u);
    EXPECT_FALSE(ScratchFolder::Exists(target));

    // While the server is silent, with the full time-out in force.
    Attempted silent;
    const DWORD stallStart = GetTickCount();
    Download(silent, server.Url("/stall"), target, "", [&] { return GetTickCount() - stallStart > 1000; });
    EXPECT_EQ(silent.outcome.result, TransferResult::Cancelled);
    EXPECT_LT(silent.ms, 4000u);
    EXPECT_FALSE(ScratchFolder::Exists(target));
}

TEST(FetchText, AWholeTextInTimeOrNone) {
    HttpTestServer server("2.0\r\n");
    EXPECT_EQ(download::FetchText(server.Url("/to//ok")), "2.0\r\n");
    EXPECT_EQ(download::FetchText(server.Url("/chunkedshort")), "");
    EXPECT_EQ(download::FetchText(server.Url("/partial")), "");
    EXPECT_EQ(download::FetchText(server.Url("/to/ftp://127.0.0.1/v")), "");

    // A byte every 100 ms never lets a read time out (100 bytes: 10 s); the
    // whole text has the time-out.
    ShortTimeout quick("700");
    HttpTestServer dripping(Body(100));
    DWORD start = GetTickCount();
    EXPECT_EQ(download::FetchText(dripping.Url("/ok?drip")), "");
    EXPECT_LT(GetTickCount() - start, 2500u);

    // A cancel ends the wait at once, while the server is silent.
    start = GetTickCount();
    EXPECT_EQ(download::FetchText(dripping.Url("/stall"), [&] { return GetTickCount() - start > 200; }), "");
    EXPECT_LT(GetTickCount() - start, 650u);
}

TEST(FetchText, TheBodyUpToItsLengthAndAtMost64KiB) {
    HttpTestServer small("0.9.12\r\n");
    EXPECT_EQ(download::FetchText(small.Url("/ok")), "0.9.12\r\n");
    EXPECT_EQ(download::FetchText(small.Url("/nolength")), "0.9.12\r\n");
    EXPECT_EQ(download::FetchText(small.Url("/status/404")), "");
    EXPECT_EQ(download::FetchText(small.Url("/short")), "");  // broken off: no text rather than half
    EXPECT_EQ(download::FetchText("http://127.0.0.1"), "");

    const std::string large = Body(100000);
    HttpTestServer big(large);
    EXPECT_TRUE(download::FetchText(big.Url("/ok")) == large.substr(0, 65536));
    EXPECT_TRUE(download::FetchText(big.Url("/nolength")) == large.substr(0, 65536));
}

}  // namespace

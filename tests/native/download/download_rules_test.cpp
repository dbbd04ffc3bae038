// The download layer's rules: addresses taken apart for a request, the
// digest suffix, where redirects may lead, header byte counts and ranges, and the display's sizes, times, speeds
// and info line with the meter that paces it.
#include <gtest/gtest.h>

#include <string>

#include "download/ProgressText.h"
#include "download/WebAddress.h"

namespace {

using namespace download;

TEST(DownloadAddress, HttpHttpsPortsAndAddressesWithoutAServer) {
    WebAddress plain = SplitAddress("http://example.com/dir/sub/file.zip");
    EXPECT_FALSE(plain.secure);
    EXPECT_EQ(plain.host, "example.com");
    EXPECT_EQ(plain.port, 80);
    EXPECT_EQ(plain.object, "dir/sub/file.zip");  // no leading slash, inner slashes kept
    EXPECT_TRUE(plain.Usable());

    WebAddress secure = SplitAddress("https://example.com/file.zip");
    EXPECT_TRUE(secure.secure);
    EXPECT_EQ(secure.port, 443);
    EXPECT_EQ(secure.host, "example.com");

    WebAddress ported = SplitAddress("http://127.0.0.1:8080/a?x=1");
    EXPECT_EQ(ported.host, "127.0.0.1");
    EXPECT_EQ(ported.port, 8080);
    EXPECT_EQ(ported.object, "a?x=1");
    WebAddress securePorted = SplitAddress("https://h:8443/a");
    EXPECT_TRUE(securePorted.secure);
    EXPECT_EQ(securePorted.port, 8443);

    // Ports that cannot be: no request is made.
    EXPECT_FALSE(SplitAddress("http://h:0/a").Usable());
    EXPECT_FALSE(SplitAddress("http://h:65536/a").Usable());
    EXPECT_FALSE(SplitAddress("http://h:/a").Usable());
    EXPECT_FALSE(SplitAddress("http://h:80x/a").Usable());
    EXPECT_EQ(SplitAddress("http://h:65535/a").port, 65535);

    // No slash after the host: no host, the whole text is the object.
    WebAddress bare = SplitAddress("http://example.com");
    EXPECT_EQ(bare.host, "");
    EXPECT_EQ(bare.object, "example.com");
    EXPECT_FALSE(bare.Usable());

    // An ftp address is not converted: "ftp:" is no host with a port.
    WebAddress ftp = SplitAddress("ftp://example.com/a.zip");
    EXPECT_EQ(ftp.host, "ftp");
    EXPECT_EQ(ftp.object, "/example.com/a.zip");
    EXPECT_FALSE(ftp.Usable());

    // Every "http://" goes, as the setup has always done; "https://" only at the start.
    EXPECT_EQ(SplitAddress("http://h/http://x").object, "x");
    EXPECT_FALSE(SplitAddress("see https://h/a").secure);
}

TEST(DownloadAddress, DigestSuffixIsTakenOffAndChecked) {
    const std::string hex(64, 'a');
    DigestSplit d = SplitDigestSuffix("http://h/f.zip#sha256=" + std::string(32, 'A') + std::string(32, '0'));
    EXPECT_EQ(d.address, "http://h/f.zip");
    EXPECT_EQ(d.sha256, std::string(32, 'a') + std::string(32, '0'));  // lower case
    EXPECT_FALSE(d.malformed);

    DigestSplit none = SplitDigestSuffix("http://h/f.zip");
    EXPECT_EQ(none.address, "http://h/f.zip");
    EXPECT_EQ(none.sha256, "");
    EXPECT_FALSE(none.malformed);

    for (const std::string& bad : {hex.substr(1), hex + "a", hex.substr(1) + "g", std::string()}) {
        DigestSplit m = SplitDigestSuffix("http://h/f.zip#sha256=" + bad);
        EXPECT_EQ(m.address, "http://h/f.zip") << bad;  // never requested with the suffix
        EXPECT_TRUE(m.malformed) << bad;
        EXPECT_EQ(m.sha256, "") << bad;
    }
}

TEST(DownloadAddress, ByteCountsOfHeaders) {
    uint64_t n = 7;
    EXPECT_TRUE(ParseByteCount("0", n));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(ParseByteCount("5000000000", n));  // beyond 32 bits
    EXPECT_EQ(n, 5000000000u);
    for (const char* bad : {"", "-1", "12a", " 12", "1234567890123456789"}) {
        n = 7;
        EXPECT_FALSE(ParseByteCount(bad, n)) << bad;
        EXPECT_EQ(n, 7u) << bad;
    }
}

std::string Followed(const std::string& from, const std::string& location) {
    const Redirect r = ResolveRedirect(SplitAddress(from), location);
    if (r.verdict == RedirectVerdict::Downgrade) return "downgrade";
    if (r.verdict == RedirectVerdict::Unusable) return "unusable";
    return AddressText(r.target);
}

TEST(DownloadAddress, RedirectsNeverLeadFromHttpsToHttpOrElsewhere) {
    const std::string secure = "https://a.example/dir/f.zip?v=1";
    EXPECT_EQ(Followed(secure, "https://b.example:8443/g.zip"), "https://b.example:8443/g.zip");
    EXPECT_EQ(Followed(secure, "HTTPS://b.example/g.zip#part"), "https://b.example/g.zip");
    EXPECT_EQ(Followed(secure, "//b.example/g.zip"), "https://b.example/g.zip");
    EXPECT_EQ(Followed(secure, "/other/g.zip"), "https://a.example/other/g.zip");
    EXPECT_EQ(Followed(secure, "g.zip"), "https://a.example/dir/g.zip");
    EXPECT_EQ(Followed(secure, "?v=2"), "https://a.example/dir/f.zip?v=2");
    EXPECT_EQ(Followed("https://a.example:8443/f", "/g"), "https://a.example:8443/g");
    for (const char* down : {"http://a.example/f.zip", "Http://a.example:443/f.zip"})
        EXPECT_EQ(Followed(secure, down), "downgrade") << down;
    // Up is fine; sideways on plain http too.
    EXPECT_EQ(Followed("http://a.example/f", "https://a.example/f"), "https://a.example/f");
    EXPECT_EQ(Followed("http://a.example/f", "http://b.example"), "http://b.example/");
    EXPECT_EQ(Followed("http://a.example/f", "//b.example:81/g"), "http://b.example:81/g");
    for (const char* bad : {"", "   ", "ftp://a.example/f", "file:///c:/x", "javascript:x", "https://",
                            "https:///f", "https://a.example:0/f", "https://a.example:99999/f",
                            "https://user@a.example/f", "https://a b/f", "/f\r\nX-Evil: 1"})
        EXPECT_EQ(Followed(secure, bad), "unusable") << bad;
    EXPECT_TRUE(IsRedirectStatus(302) && IsRedirectStatus(301) && IsRedirectStatus(303) &&
                IsRedirectStatus(307) && IsRedirectStatus(308));
    EXPECT_FALSE(IsRedirectStatus(200) || IsRedirectStatus(304) || IsRedirectStatus(300));
}

TEST(DownloadAddress, ContentRangeMustContinueTheFileWhereItStopped) {
    ContentRange r;
    ASSERT_TRUE(ParseContentRange("bytes 100-199/200", r));
    EXPECT_EQ(r.first, 100u);
    EXPECT_EQ(r.last, 199u);
    EXPECT_TRUE(r.totalKnown);
    EXPECT_EQ(r.total, 200u);
    ASSERT_TRUE(ParseContentRange("bytes 0-4999999999/*", r));
    EXPECT_FALSE(r.totalKnown);
    EXPECT_EQ(r.last, 4999999999u);
    for (const char* bad : {"", "bytes", "bytes */200", "bytes 5-4/200", "bytes 0-200/200", "bits 0-1/2",
                            "bytes 0-1/2, 4-5/6", "bytes 0-1/2 ", "bytes -1-2/3", "bytes 0-1/"})
        EXPECT_FALSE(ParseContentRange(bad, r)) << bad;

    ContentRange asked;
    ASSERT_TRUE(ParseContentRange("bytes 9216-19999/20000", asked));
    EXPECT_TRUE(RangeContinues(asked, 9216, 20000, true, 10784));
    EXPECT_TRUE(RangeContinues(asked, 9216, 0, false, 0));
    EXPECT_FALSE(RangeContinues(asked, 0, 20000, true, 10784));      // not where the file stopped
    EXPECT_FALSE(RangeContinues(asked, 9216, 30000, true, 10784));   // another size than the first answer said
    EXPECT_FALSE(RangeContinues(asked, 9216, 20000, true, 10000));   // the length disagrees
    ContentRange part;
    ASSERT_TRUE(ParseContentRange("bytes 9216-9999/20000", part));
    EXPECT_FALSE(RangeContinues(part, 9216, 0, false, 0));           // stops before the end
    ContentRange open;
    ASSERT_TRUE(ParseContentRange("bytes 9216-19999/*", open));
    EXPECT_TRUE(RangeContinues(open, 9216, 20000, false, 0));
    EXPECT_FALSE(RangeContinues(open, 9216, 25000, false, 0));
}

TEST(DownloadDisplay, SizesTimesAndSpeedsAtTheirEdges) {
    EXPECT_EQ(FormatSize(0), "0 Bytes");
    EXPECT_EQ(FormatSize(1023), "1023 Bytes");
    EXPECT_EQ(FormatSize(1024), "1.0 KB");
    EXPECT_EQ(FormatSize(1536), "1.5 KB");
    EXPECT_EQ(FormatSize(1048575), "1024.0 KB");
    EXPECT_EQ(FormatSize(1048576), "1.00 MB");
    EXPECT_EQ(FormatSize(3145728), "3.00 MB");

    EXPECT_EQ(FormatTimeLeft(59, 1536, 3145728), "59 sec (1.5 KB of 3.00 MB copied)");
    EXPECT_EQ(FormatTimeLeft(60, 1536, 3145728), "1 min (1.5 KB of 3.00 MB copied)");
    EXPECT_EQ(FormatTimeLeft(125, 1536, 3145728), "2 min 5 sec (1.5 KB of 3.00 MB copied)");
    EXPECT_EQ(FormatTimeLeft(0, 0, 0), "0 sec (0 Bytes of 0 Bytes copied)");

    EXPECT_EQ(FormatSpeed(0), "0 Bytes/Sec");
    EXPECT_EQ(FormatSpeed(0.5), "512 Bytes/Sec");
    EXPECT_EQ(FormatSpeed(1), "1.00 KB/Sec");
    EXPECT_EQ(FormatSpeed(2.5), "2.50 KB/Sec");
    EXPECT_EQ(FormatSpeed(9.999), "10.00 KB/Sec");  // below 10 keeps two decimals
    EXPECT_EQ(FormatSpeed(10), "10 KB/Sec");
    EXPECT_EQ(FormatSpeed(12.6), "13 KB/Sec");

    // "%1" inside an argument is not filled again.
    EXPECT_EQ(FillNumbered("%1 of %2", "%2", "x"), "%2 of x");
}

TEST(DownloadDisplay, TimeLeftIsNeverNegativeOrAbsurd) {
    EXPECT_EQ(SecondsLeft(2000, 1000, 3000), 4u);
    EXPECT_EQ(SecondsLeft(2000, 0, 3000), 0u);     // no rate yet
    EXPECT_EQ(SecondsLeft(2000, 3000, 3000), 0u);
    EXPECT_EQ(SecondsLeft(2000, 5000, 3000), 0u);  // more than announced
    EXPECT_EQ(SecondsLeft(4000000000u, 1, 1ull << 40), kMaxSecondsLeft);
}

TEST(DownloadDisplay, MeterReportsOncePerSecondWithOrWithoutASize) {
    ProgressMeter meter;
    ProgressReport r;
    meter.Start(0xFFFFFF00u);  // the tick count wraps during this transfer
    EXPECT_FALSE(meter.Step(0xFFFFFF00u + 1000, 1024, 4096, r));  // exactly a second: not yet
    ASSERT_TRUE(meter.Step(0xFFFFFF00u + 1001 + 999, 1024, 4096, r));
    EXPECT_EQ(r.percent, 25);
    // 2 s for a quarter: 6 s for the rest.
    EXPECT_EQ(r.info, "Estimated time left: 6 sec (1.0 KB of 4.0 KB copied) - 524 Bytes/Sec");
    EXPECT_FALSE(meter.Step(0xFFFFFF00u + 2500, 2048, 4096, r));

    ProgressMeter waiting;
    waiting.Start(0);
    ASSERT_TRUE(waiting.Step(1001, 0, 3145728, r));
    EXPECT_EQ(r.percent, 0);
    EXPECT_EQ(r.info, "Estimated time left:  - 0 Bytes/Sec");  // no estimate before a byte

    // Unknown size: the bar stays, the line tells what arrived.
    ProgressMeter unsized;
    unsized.Start(0);
    ASSERT_TRUE(unsized.Step(2000, 3 * 1048576, 0, r));
    EXPECT_EQ(r.percent, -1);
    EXPECT_EQ(r.info, "Received: 3.00 MB - 1573 KB/Sec");

    // A transfer started over (the server ignored a resume) has no negative speed.
    ASSERT_TRUE(unsized.Step(4000, 1000, 0, r));
    EXPECT_EQ(r.info, "Received: 1000 Bytes - 512 Bytes/Sec");
    // More than announced: the bar stops at 100.
    ProgressMeter over;
    over.Start(0);
    ASSERT_TRUE(over.Step(1500, 200, 100, r));
    EXPECT_EQ(r.percent, 100);
}

}  // namespace

#include "download/FetchText.h"

#include "core/Trace.h"
#include "download/Internet.h"
#include "download/WebAddress.h"

namespace download {

namespace {

// The most of a document that is kept: the rest is not read.
constexpr size_t kMaxText = 64 * 1024;
constexpr DWORD kReadSize = 1024;

}  // namespace

std::string FetchText(const std::string& address) {
    const WebAddress where = SplitAddress(address);
    if (!where.Usable()) return std::string();
    inet::Handle session(inet::OpenSession());
    if (!session) {
        core::trace::Failure("InternetOpen", GetLastError());
        return std::string();
    }
    inet::Handle connection, request;
    DWORD error = 0;
    inet::Answer answer;
    if (!inet::SendRequest(session.Get(), where, "text/*", std::string(), connection, request, error) ||
        !inet::ReadAnswer(request.Get(), answer) || answer.status != HTTP_STATUS_OK)
        return std::string();
    // A body longer than its announced length is cut there.
    const size_t limit = answer.hasLength && answer.length < kMaxText ? static_cast<size_t>(answer.length) : kMaxText;
    std::string text;
    char buffer[kReadSize];
    while (text.size() < limit) {
        DWORD got = 0;
        if (!inet::Read(request.Get(), buffer, sizeof buffer, got)) {
            core::trace::Failure("InternetReadFile", address, GetLastError());
            return std::string();
        }
        if (got == 0) break;
        text.append(buffer, got);
    }
    // A body that ended before its announced length is no text at all.
    if (answer.hasLength && text.size() < limit) return std::string();
    if (text.size() > limit) text.resize(limit);
    return text;
}

}  // namespace download

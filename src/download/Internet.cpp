#include "download/Internet.h"

#include <cstdlib>

#include "core/Trace.h"

namespace download::inet {

namespace {

// Always from the server: no cached copy is used or kept, and the connection
// is kept for a resumed request. A redirect comes back as its answer: the
// transfer decides where it may lead (never from https down to http).
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_AUTO_REDIRECT;

// The longest header text read (a Location); a longer one counts as none.
constexpr DWORD kMaxHeaderText = 8192;

// The program file's name without its extension ("setup").
std::string AgentName() {
    char path[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, n < sizeof path ? n : 0);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name.empty() ? std::string("setup") : name;
}

void SetTimeout(HINTERNET handle, DWORD option, DWORD ms) {
    if (!InternetSetOptionA(handle, option, &ms, sizeof ms))
        core::trace::Failure("InternetSetOption", "time-out", GetLastError());
}

bool QueryText(HINTERNET request, DWORD info, std::string& text) {
    std::string buffer(256, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (HttpQueryInfoA(request, info, &buffer[0], &size, nullptr)) {
            text.assign(buffer.data(), size < buffer.size() ? size : 0);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size() || size > kMaxHeaderText)
            return false;
        buffer.assign(size + 1, '\0');
    }
}

}  // namespace

DWORD TimeoutMs() {
    const char* text = std::getenv(kTimeoutVariable);
    uint64_t ms = 0;
    if (text && ParseByteCount(text, ms) && ms > 0 && ms <= kDefaultTimeoutMs) return static_cast<DWORD>(ms);
    return kDefaultTimeoutMs;
}

void Handle::Close() {
    if (h_) InternetCloseHandle(h_);
    h_ = nullptr;
}

HINTERNET OpenSession() {
    HINTERNET session = InternetOpenA(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) return nullptr;
    const DWORD timeout = TimeoutMs();
    SetTimeout(session, INTERNET_OPTION_CONNECT_TIMEOUT, timeout);
    SetTimeout(session, INTERNET_OPTION_SEND_TIMEOUT, timeout);
    SetTimeout(session, INTERNET_OPTION_RECEIVE_TIMEOUT, timeout);
    return session;
}

bool SendRequest(HINTERNET session, const WebAddress& address, const char* acceptType,
                 const std::string& headers, Handle& connection, Handle& request, DWORD& error) {
    connection = Handle(InternetConnectA(session, address.host.c_str(), address.port, nullptr, nullptr,
                                         INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) {
        error = GetLastError();
        core::trace::Failure("InternetConnect", address.host, error);
        return false;
    }
    const char* accept[] = {acceptType, nullptr};
    const DWORD flags = kRequestFlags | (address.secure ? INTERNET_FLAG_SECURE : 0);
    request = Handle(HttpOpenRequestA(connection.Get(), "GET", address.object.c_str(), "HTTP/1.0", nullptr,
                                      accept, flags, 0));
    if (!request) {
        error = GetLastError();
        core::trace::Failure("HttpOpenRequest", address.object, error);
        return false;
    }
    // Set again on the request: not every implementation passes the session's on.
    SetTimeout(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, TimeoutMs());
    if (!HttpSendRequestA(request.Get(), headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), nullptr, 0)) {
        error = GetLastError();
        core::trace::Failure("HttpSendRequest", address.host + "/" + address.object, error);
        return false;
    }
    return true;
}

bool ReadAnswer(HINTERNET request, Answer& answer) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    answer.status = status;
    std::string text;
    answer.hasLength = QueryText(request, HTTP_QUERY_CONTENT_LENGTH, text) && ParseByteCount(text, answer.length);
    answer.acceptsRanges = QueryText(request, HTTP_QUERY_ACCEPT_RANGES, text) && text == "bytes";
    answer.transferEncoded = QueryText(request, HTTP_QUERY_TRANSFER_ENCODING, text);
    if (!QueryText(request, HTTP_QUERY_CONTENT_RANGE, answer.contentRange)) answer.contentRange.clear();
    if (!QueryText(request, HTTP_QUERY_LOCATION, answer.location)) answer.location.clear();
    return true;
}

bool Read(HINTERNET request, char* buffer, DWORD size, DWORD& got) {
    got = 0;
    return InternetReadFile(request, buffer, size, &got) != 0;
}

std::string ErrorText(DWORD error) {
    if (error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST) {
        char text[512] = "";
        DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 GetModuleHandleA("wininet.dll"), error, 0, text, sizeof text, nullptr);
        while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) text[--n] = '\0';
        if (n > 0) return std::string(text, n);
        // Not every system has texts for these: the user must still learn why.
        switch (error) {
        case ERROR_INTERNET_INVALID_CA:
            return "The server's certificate comes from an authority this computer does not trust.";
        case ERROR_INTERNET_SEC_CERT_CN_INVALID: return "The server's certificate is for another name.";
        case ERROR_INTERNET_SEC_CERT_DATE_INVALID: return "The server's certificate has expired or is not valid yet.";
        case ERROR_INTERNET_SEC_CERT_REVOKED: return "The server's certificate has been revoked.";
        case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        case INTERNET_ERROR_BASE + 175:  // ERROR_INTERNET_SECURE_FAILURE, missing from some headers
            return "No secure connection could be made to the server.";
        case ERROR_INTERNET_TIMEOUT: return "The server did not answer in time.";
        case ERROR_INTERNET_CANNOT_CONNECT: return "The server could not be reached.";
        case ERROR_INTERNET_NAME_NOT_RESOLVED: return "The server's name is not known.";
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case ERROR_INTERNET_CONNECTION_RESET: return "The connection to the server was broken off.";
        default: break;
        }
    }
    return core::trace::SystemErrorText(error);
}

}  // namespace download::inet

// Thin helpers over the Windows Internet functions for one GET request:
// the session with its time-outs and user agent, the request (secure for
// https, to the address's port), the answer's headers, blocking reads, and
// the system's texts for their errors.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <string>

#include "download/WebAddress.h"

namespace download::inet {

// The environment variable that shortens the receive time-out (in
// milliseconds) for tests, which also shortens the pauses between retries.
constexpr char kTimeoutVariable[] = "CVSETUP_DOWNLOAD_TIMEOUT_MS";
// A server that sends nothing for this long has gone.
constexpr DWORD kDefaultTimeoutMs = 30000;

// The receive time-out: kTimeoutVariable when it holds a positive number of
// milliseconds, otherwise kDefaultTimeoutMs.
DWORD TimeoutMs();

// Closes its handle when it goes.
class Handle {
public:
    Handle() = default;
    explicit Handle(HINTERNET h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Close();
            h_ = other.h_;
            other.h_ = nullptr;
        }
        return *this;
    }
    HINTERNET Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void Close();
    // Gives up the handle without closing it (someone else closed it).
    void Forget() { h_ = nullptr; }

private:
    HINTERNET h_ = nullptr;
};

// A root handle with the program's name as user agent and the time-outs set;
// null on failure (GetLastError tells why).
HINTERNET OpenSession();

// Opens the connection and a GET request for `address` under `session`
// (accepting `acceptType`, bypassing the cache, secure for https, never
// following a redirect by itself) and sends it with the extra `headers` (""
// for none). False with `error` set when a step fails. The request is
// HTTP/1.0: a server then sends no chunked body, whose cut-off end the
// Internet functions report as the end of the body.
bool SendRequest(HINTERNET session, const WebAddress& address, const char* acceptType,
                 const std::string& headers, Handle& connection, Handle& request, DWORD& error);

// What the answer's headers say.
struct Answer {
    DWORD status = 0;
    bool hasLength = false;      // a readable Content-Length
    uint64_t length = 0;
    bool acceptsRanges = false;  // "Accept-Ranges: bytes"
    bool transferEncoded = false;  // any Transfer-Encoding (chunked): the body's end cannot be checked
    std::string contentRange;    // "" when there is none
    std::string location;        // the redirect's target, "" when there is none
};

// False when the status code cannot be read.
bool ReadAnswer(HINTERNET request, Answer& answer);

// One blocking read of up to `size` bytes: `got` 0 means the end of the body.
// False on failure (GetLastError tells why: a time-out, a dropped connection).
bool Read(HINTERNET request, char* buffer, DWORD size, DWORD& got);

// The system's text for an Internet or system error, without its line end.
std::string ErrorText(DWORD error);

}  // namespace download::inet

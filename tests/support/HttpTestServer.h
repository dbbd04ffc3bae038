// A small HTTP server on 127.0.0.1 (a free port) inside the test process, for
// the transfers and text fetches. The path chooses what it does:
//   /ok           the body with its length, accepting ranges ("Range: bytes=N-" answered 206)
//   /nolength     the body without a length, the end shown by closing
//   /short        a length, half the body, then the connection is closed
//   /droponce     as /short the first time, then as /ok (a resume)
//   /stall        a length, half the body, then silence until the server stops
//   /status/N     status N (401 asks for a password) with a short body
//   /redirect     302 to /ok
//   /to/WHERE     302 to WHERE, taken as it stands ("/to//ok", "/to/ftp://x/y")
//   /loop         302 to itself
//   /dropplain    as /droponce, but never accepting ranges: the retry gets the whole file
//   /dropwrong    as /droponce, but the range answered starts at 0
//   /partial      206 with the whole file to a request that asked for no range
//   /chunked      the body in chunks, properly ended; /chunkedshort: half of it, then closed
// A path ending in "?slow" sends the body in 64 KiB pieces 100 ms apart,
// one ending in "?drip" one byte at a time, 100 ms apart.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HttpTestServer {
public:
    explicit HttpTestServer(std::string body) : body_(std::move(body)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listen_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in at = {};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listen_, reinterpret_cast<sockaddr*>(&at), sizeof at);
        int size = sizeof at;
        getsockname(listen_, reinterpret_cast<sockaddr*>(&at), &size);
        port_ = ntohs(at.sin_port);
        ::listen(listen_, 16);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~HttpTestServer() {
        stopping_ = true;
        closesocket(listen_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (SOCKET s : clients_) shutdown(s, SD_BOTH);
        }
        acceptor_.join();
        for (std::thread& t : handlers_) t.join();
        WSACleanup();
    }

    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int Port() const { return port_; }
    // The first line and the Range header of every request, in order.
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    void AcceptLoop() {
        for (;;) {
            SOCKET client = accept(listen_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                closesocket(client);
                return;
            }
            clients_.push_back(client);
            handlers_.emplace_back([this, client] { Serve(client); });
        }
    }

    void Serve(SOCKET client) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, got);
        }
        const std::string line = request.substr(0, request.find("\r\n"));
        std::string path = line.substr(line.find(' ') + 1);
        path = path.substr(0, path.find(' '));
        const size_t range = request.find("Range: bytes=");
        const std::string rangeText =
            range == std::string::npos ? "" : request.substr(range, request.find("\r\n", range) - range);
        bool firstDrop;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(path + (rangeText.empty() ? "" : " " + rangeText));
            firstDrop = (path.rfind("/droponce", 0) == 0 || path == "/dropplain" || path == "/dropwrong") &&
                        dropped_++ == 0;
        }
        const bool slow = path.size() > 5 && path.compare(path.size() - 5, 5, "?slow") == 0;
        if (slow) path.erase(path.size() - 5);
        drip_ = path.size() > 5 && path.compare(path.size() - 5, 5, "?drip") == 0;
        if (drip_) path.erase(path.size() - 5);
        Respond(client, path, rangeText, slow, firstDrop);
        shutdown(client, SD_SEND);
        closesocket(client);
    }

    void Respond(SOCKET client, const std::string& path, const std::string& rangeText, bool slow, bool firstDrop) {
        const std::string length = "Content-Length: " + std::to_string(body_.size()) + "\r\n";
        if (path.rfind("/status/", 0) == 0) {
            const std::string code = path.substr(8);
            const std::string auth = code == "401" ? "WWW-Authenticate: Basic realm=\"test\"\r\n" : "";
            Send(client, "HTTP/1.1 " + code + " Test\r\n" + auth +
                             "Content-Length: 4\r\nConnection: close\r\n\r\nnope");
        } else if (path == "/redirect" || path == "/loop" || path.rfind("/to/", 0) == 0) {
            const std::string where = path == "/redirect" ? "/ok" : path == "/loop" ? "/loop" : path.substr(4);
            Send(client, "HTTP/1.1 302 Found\r\nLocation: " + where +
                             "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        } else if (path == "/dropplain") {
            Send(client, "HTTP/1.1 200 OK\r\n" + length + "Connection: close\r\n\r\n");
            SendBody(client, firstDrop ? body_.substr(0, body_.size() / 2) : body_, slow);
        } else if (path == "/dropwrong" && !firstDrop) {
            Send(client, "HTTP/1.1 206 Partial Content\r\nAccept-Ranges: bytes\r\nContent-Range: bytes 0-" +
                             std::to_string(body_.size() - 1) + "/" + std::to_string(body_.size()) + "\r\n" +
                             length + "Connection: close\r\n\r\n");
            SendBody(client, body_, slow);
        } else if (path == "/partial") {
            Send(client, "HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-" + std::to_string(body_.size() - 1) +
                             "/" + std::to_string(body_.size()) + "\r\n" + length + "Connection: close\r\n\r\n");
            SendBody(client, body_, slow);
        } else if (path == "/chunked" || path == "/chunkedshort") {
            Send(client, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
            const size_t end = path == "/chunked" ? body_.size() : body_.size() / 2;
            for (size_t at = 0; at < end; at += 4096) {
                const std::string piece = body_.substr(at, std::min<size_t>(4096, end - at));
                char size[16];
                snprintf(size, sizeof size, "%zx\r\n", piece.size());
                if (!Send(client, size + piece + "\r\n")) return;
            }
            if (path == "/chunked") Send(client, "0\r\n\r\n");
        } else if (path == "/nolength") {
            Send(client, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            SendBody(client, body_, slow);
        } else if (path == "/short" || ((path == "/droponce" || path == "/dropwrong") && firstDrop)) {
            Send(client, "HTTP/1.1 200 OK\r\nAccept-Ranges: bytes\r\n" + length + "Connection: close\r\n\r\n");
            SendBody(client, body_.substr(0, body_.size() / 2), slow);
        } else if (path == "/stall") {
            Send(client, "HTTP/1.1 200 OK\r\n" + length + "Connection: close\r\n\r\n");
            SendBody(client, body_.substr(0, body_.size() / 2), slow);
            while (!stopping_) Sleep(50);
        } else if (!rangeText.empty()) {
            const size_t from = std::stoul(rangeText.substr(13));
            const std::string rest = from < body_.size() ? body_.substr(from) : std::string();
            Send(client, "HTTP/1.1 206 Partial Content\r\nAccept-Ranges: bytes\r\nContent-Range: bytes " +
                             std::to_string(from) + "-" + std::to_string(body_.size() - 1) + "/" +
                             std::to_string(body_.size()) + "\r\nContent-Length: " + std::to_string(rest.size()) +
                             "\r\nConnection: close\r\n\r\n");
            SendBody(client, rest, slow);
        } else if (path == "/ok" || path == "/droponce") {
            Send(client, "HTTP/1.1 200 OK\r\nAccept-Ranges: bytes\r\n" + length + "Connection: close\r\n\r\n");
            SendBody(client, body_, slow);
        } else {
            Send(client, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        }
    }

    void SendBody(SOCKET client, const std::string& body, bool slow) {
        const size_t piece = drip_ ? 1 : slow ? 64 * 1024 : body.size();
        for (size_t at = 0; at < body.size() && !stopping_; at += piece) {
            if (!Send(client, body.substr(at, piece))) return;
            if (slow || drip_) Sleep(100);
        }
    }

    static bool Send(SOCKET client, const std::string& data) {
        for (size_t at = 0; at < data.size();) {
            const int sent = send(client, data.data() + at, static_cast<int>(data.size() - at), 0);
            if (sent <= 0) return false;
            at += static_cast<size_t>(sent);
        }
        return true;
    }

    const std::string body_;
    SOCKET listen_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<SOCKET> clients_;
    std::vector<std::thread> handlers_;
    std::vector<std::string> requests_;
    int dropped_ = 0;
    // Each request has a thread of its own: "?drip" holds for its request only.
    inline static thread_local bool drip_ = false;
    std::thread acceptor_;
};

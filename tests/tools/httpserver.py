#!/usr/bin/env python3
"""HTTP server for the download tests: binds 127.0.0.1 on a free port, writes
the port to PORT_FILE and serves until it is stopped (or LIMIT seconds pass).
With --cert CHAIN --key KEY it speaks https, sending the certificates of CHAIN
(the server's first, then its authority's).

  /<size>.bin             <size> bytes (a pattern) with their length, sent at
                          RATE bytes per second (0: at once)
  /status/<code>          that status with a short body (401 asks for a password)
  /text/<words>           the words (%0D%0A a line end) as a plain text, with their length
  /drip/<words>           the same, one byte every two seconds
  /to/<address>           302 to the address, as it stands
"""
import argparse
import http.server
import ssl
import threading
import time
import urllib.parse


def pattern(size):
    return bytes((i * 7 + i // 251) & 0xFF for i in range(size))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    rate = 0

    def log_message(self, *args):
        pass

    def do_GET(self):
        path = self.path.split("?")[0]
        if path.startswith("/status/"):
            code = int(path[len("/status/"):])
            self.send_response(code)
            if code == 401:
                self.send_header("WWW-Authenticate", 'Basic realm="test"')
            self.send_header("Content-Length", "4")
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(b"nope")
            return
        if path.startswith("/to/"):
            self.send_response(302)
            self.send_header("Location", self.path[len("/to/"):])
            self.send_header("Content-Length", "0")
            self.send_header("Connection", "close")
            self.end_headers()
            return
        if path.startswith("/text/") or path.startswith("/drip/"):
            body = urllib.parse.unquote(path[len("/text/"):]).encode()
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            try:
                if path.startswith("/drip/"):
                    for at in range(len(body)):
                        self.wfile.write(body[at:at + 1])
                        self.wfile.flush()
                        time.sleep(2)
                else:
                    self.wfile.write(body)
            except (BrokenPipeError, ConnectionResetError):
                pass
            return
        if path.endswith(".bin") and path[1:-4].isdigit():
            body = pattern(int(path[1:-4]))
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.send_body(body)
            return
        self.send_response(404)
        self.send_header("Content-Length", "0")
        self.send_header("Connection", "close")
        self.end_headers()

    def send_body(self, body):
        piece = max(1, self.rate // 10) if self.rate else len(body)
        try:
            for at in range(0, len(body), piece):
                self.wfile.write(body[at:at + piece])
                if self.rate:
                    time.sleep(0.1)
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port_file")
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--limit", type=int, default=120)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    Handler.rate = args.rate
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    if args.cert:
        # A client that refuses the certificate fails its handshake in accept,
        # which the server passes over.
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(args.port_file + ".tmp", args.port_file)
    threading.Timer(args.limit, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""RFC 3161 time-stamping server for the signing test: binds 127.0.0.1 on a
free port, writes the port to PORT_FILE and answers each POSTed time-stamp
query with the reply `openssl ts -reply` makes, signed by the authority's
time-stamping certificate, until LIMIT seconds pass.

  tsaserver.py PORT_FILE --cert TSA_PEM --key TSA_KEY --chain CA_PEM [--limit SECONDS]
"""
import argparse
import http.server
import os
import subprocess
import tempfile
import time

CONFIG = """[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = {folder}/serial
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
"""


class Handler(http.server.BaseHTTPRequestHandler):
    args = None
    folder = None

    def log_message(self, *args):
        pass

    def do_POST(self):
        query = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.TemporaryDirectory() as scratch:
            with open(os.path.join(scratch, "query.tsq"), "wb") as f:
                f.write(query)
            reply = os.path.join(scratch, "reply.tsr")
            made = subprocess.run(
                ["openssl", "ts", "-reply", "-config", os.path.join(self.folder, "tsa.cnf"),
                 "-queryfile", os.path.join(scratch, "query.tsq"), "-signer", self.args.cert,
                 "-inkey", self.args.key, "-chain", self.args.chain, "-out", reply],
                capture_output=True)
            body = b""
            if made.returncode == 0:
                with open(reply, "rb") as f:
                    body = f.read()
        self.send_response(200 if body else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port_file")
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--chain", required=True)
    parser.add_argument("--limit", type=float, default=60)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "tsa.cnf"), "w") as f:
            f.write(CONFIG.format(folder=folder))
        with open(os.path.join(folder, "serial"), "w") as f:
            f.write("01\n")
        Handler.args, Handler.folder = args, folder
        server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        server.timeout = 1
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(server.server_address[1]))
        os.replace(args.port_file + ".tmp", args.port_file)
        end = time.monotonic() + args.limit
        while time.monotonic() < end:
            server.handle_request()


if __name__ == "__main__":
    main()

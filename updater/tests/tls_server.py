#!/usr/bin/env python3
"""A loopback server for the tests: serves one folder over HTTPS (with --cert and --key) or plain
HTTP, and prints its port."""
import argparse
import functools
import http.server
import ssl
import sys


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, fmt, *args):
        pass


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=args.root))
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    sys.stdout.close()
    server.serve_forever()


if __name__ == "__main__":
    main()

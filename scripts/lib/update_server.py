#!/usr/bin/env python3
"""The local update server of the run command: serves a folder on 127.0.0.1 over plain HTTP."""
import argparse
import functools
import http.server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, fmt, *args):
        print("%s %s" % (self.address_string(), fmt % args), flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=8731)
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    handler = functools.partial(QuietHandler, directory=args.root)
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        server.serve_forever()


if __name__ == "__main__":
    main()

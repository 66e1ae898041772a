#!/usr/bin/env python3
"""The local update server of the run command: serves a folder on 127.0.0.1 over plain HTTP, and
with --setup the built installers and their signatures under /setup/."""
import argparse
import functools
import http.server
import os


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    setup_dir = None

    def log_message(self, fmt, *args):
        print("%s %s" % (self.address_string(), fmt % args), flush=True)

    def translate_path(self, path):
        # /setup/<name>: a file of the build's out/ folder (PravikSetup-*.exe and its .sig), by name only.
        if self.setup_dir and path.startswith("/setup/"):
            name = os.path.basename(path.split("?", 1)[0].split("#", 1)[0])
            return os.path.join(self.setup_dir, name)
        return super().translate_path(path)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=8731)
    parser.add_argument("--root", required=True)
    parser.add_argument("--setup", help="folder whose installers are served under /setup/")
    args = parser.parse_args()
    QuietHandler.setup_dir = args.setup
    handler = functools.partial(QuietHandler, directory=args.root)
    with http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler) as server:
        server.serve_forever()


if __name__ == "__main__":
    main()

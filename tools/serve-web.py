#!/usr/bin/env python3
"""Serves the site at / and the quiz maker page at /maker/ on 127.0.0.1
(`make serve-web`): two folders of the build at one address.

    python3 tools/serve-web.py SITE MAKER PORT
"""
import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    maker = ''

    def translate_path(self, path):
        if path == '/maker' or path.startswith(('/maker/', '/maker?')):
            site = self.directory
            self.directory = self.maker
            try:
                return super().translate_path(path[len('/maker'):] or '/')
            finally:
                self.directory = site
        return super().translate_path(path)


if __name__ == '__main__':
    site, maker, port = sys.argv[1], sys.argv[2], int(sys.argv[3])
    Handler.maker = os.path.abspath(maker)
    handler = functools.partial(Handler, directory=os.path.abspath(site))
    print(f'http://127.0.0.1:{port}/ (the quiz maker: http://127.0.0.1:{port}/maker/)', flush=True)
    http.server.ThreadingHTTPServer(('127.0.0.1', port), handler).serve_forever()

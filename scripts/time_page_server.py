#!/usr/bin/env python3
"""Serves a time page like Baidu's on 127.0.0.1:80: the host's time now, in
milliseconds, behind the marker. For running the program without internet."""
import http.server
import time


class TimePage(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        ms = int(time.time() * 1000)
        body = f"<html><script>window.baidu_time({ms});</script></html>".encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    http.server.HTTPServer(("127.0.0.1", 80), TimePage).serve_forever()

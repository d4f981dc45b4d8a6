#!/usr/bin/env python3
"""A local stand-in for the publisher's services, for demos and manual testing.

Serves, on 127.0.0.1 only: the resource and content manifests, the launcher release check,
the telemetry endpoint, the launcher's news page and the game packages (HEAD and ranged GET).
Everything it knows is in the folder given with --root: packages/ holds the package files,
and the manifest is computed from them at start.
"""
import argparse
import hashlib
import json
import os
import re
import sys
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

GAME_VERSION = "1.0.0"
NEWS_PAGE = """<!doctype html>
<html><head><meta charset="utf-8"><title>Orvyndale</title>
<style>
 html,body{margin:0;height:100%;background:transparent;font-family:'Noto Sans CJK SC','DejaVu Sans',sans-serif;color:#f2f2f2}
 .panel{position:absolute;left:50px;top:250px;width:420px;padding:22px 26px;border-radius:10px;
   background:linear-gradient(160deg,rgba(20,24,34,.86),rgba(12,14,20,.72));box-shadow:0 10px 40px rgba(0,0,0,.45);
   border:1px solid rgba(255,216,70,.18)}
 h1{margin:0 0 6px;font-size:26px;letter-spacing:2px;color:#ffd846}
 .sub{font-size:13px;color:#9aa3b5;margin-bottom:16px}
 ul{list-style:none;margin:0;padding:0}
 li{padding:10px 0;border-top:1px solid rgba(255,255,255,.08);font-size:14px;display:flex;justify-content:space-between}
 li span.tag{color:#ffd846;margin-right:10px} li span.date{color:#7f8799;font-size:12px}
</style></head>
<body><div class="panel">
 <h1>ORVYNDALE</h1><div class="sub">__SUB__</div>
 <ul>__ITEMS__</ul>
</div></body></html>
"""


NEWS = {
    "zh": ("第三赛季 &middot; 沉没海岸", [
        ("新闻", "1.0.0 版本更新说明：潮汐、航船与新港口", "12-01"),
        ("活动", "灯笼节本周末开启", "11-28"),
        ("攻略", "海岸古道新手指引", "11-20"),
        ("公告", "周二 06:00 服务器维护", "11-18"),
    ]),
    "en": ("season 3 &middot; the drowned coast", [
        ("NEWS", "Patch 1.0.0 notes: tides, ships and a new harbour", "12-01"),
        ("EVENT", "Lantern festival opens this weekend", "11-28"),
        ("GUIDE", "First steps on the coast road", "11-20"),
        ("NOTICE", "Server maintenance, Tuesday 06:00", "11-18"),
    ]),
}


def news_page(lang):
    sub, items = NEWS["zh" if lang.startswith("zh") else "en"]
    rows = "".join(
        f'<li><span><span class="tag">{tag}</span>{title}</span><span class="date">{date}</span></li>'
        for tag, title, date in items)
    return NEWS_PAGE.replace("__SUB__", sub).replace("__ITEMS__", rows)


def md5_of(path):
    digest = hashlib.md5()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


class Publisher:
    def __init__(self, root):
        self.root = root
        self.packages = os.path.join(root, "packages")
        self.lock = threading.Lock()
        self.reports = []
        self.base = ""

    def package_entry(self, name):
        path = os.path.join(self.packages, name)
        return {"name": name, "version": GAME_VERSION, "path": f"{self.base}/packages/{name}",
                "size": os.path.getsize(path), "md5": md5_of(path), "entry": ""}

    def resource(self):
        latest = self.package_entry("Orvyndale_%s.7z" % GAME_VERSION)
        return {"code": 0, "data": {
            "game": {"latest": latest, "diffs": []},
            "plugin": {"plugins": []},
            "web_url": f"{self.base}/web",
        }}

    def content(self):
        return {"code": 0, "data": {"adv": {"background": "", "url": f"{self.base}/web/18/event", "icon": ""}}}

    def release(self):
        return {"code": 0, "data": {"has_update": "false", "user_defined": "{}"}}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "DemoPublisher/1.0"

    def log_message(self, fmt, *args):
        sys.stderr.write("publisher: " + (fmt % args) + "\n")

    def send_body(self, status, body, content_type, extra=None):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for k, v in (extra or {}).items():
            self.send_header(k, v)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def send_json(self, obj):
        self.send_body(200, json.dumps(obj).encode(), "application/json")

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        pub = self.server.publisher
        url = urlparse(self.path)
        path = url.path
        if path.endswith("/xsk/launcher/api/resource") or path.endswith("/xsk/launcher/api/prevResource"):
            return self.send_json(pub.resource())
        if path.endswith("/xsk/launcher/api/content") or path.endswith("/xsk/launcher/api/prevContent"):
            return self.send_json(pub.content())
        if path.endswith("/pelorin/marduvel/api/getLatestRelease"):
            return self.send_json(pub.release())
        if path.endswith("/client_report"):
            with pub.lock:
                pub.reports.append(parse_qs(url.query))
            return self.send_body(200, b"ok", "text/plain")
        if path.startswith("/web/"):
            lang = path.rsplit("/", 1)[-1]
            return self.send_body(200, news_page(lang).encode(), "text/html; charset=utf-8")
        if path.startswith("/packages/"):
            return self.send_file(os.path.join(pub.packages, os.path.basename(path)))
        self.send_body(404, b"not found", "text/plain")

    def send_file(self, file_path):
        if not os.path.isfile(file_path):
            return self.send_body(404, b"not found", "text/plain")
        size = os.path.getsize(file_path)
        start, end, status = 0, size - 1, 200
        m = re.match(r"bytes=(\d*)-(\d*)$", self.headers.get("Range", ""))
        if m and (m.group(1) or m.group(2)):
            if m.group(1):
                start = int(m.group(1))
                end = int(m.group(2)) if m.group(2) else size - 1
            else:
                start = max(0, size - int(m.group(2)))
            end = min(end, size - 1)
            if start > end:
                return self.send_body(416, b"", "text/plain", {"Content-Range": f"bytes */{size}"})
            status = 206
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        self.send_header("Content-Length", str(end - start + 1))
        if status == 206:
            self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
        self.end_headers()
        if self.command == "HEAD":
            return
        with open(file_path, "rb") as f:
            f.seek(start)
            left = end - start + 1
            while left > 0:
                block = f.read(min(left, 1 << 20))
                if not block:
                    break
                try:
                    self.wfile.write(block)
                except (BrokenPipeError, ConnectionResetError):
                    return
                left -= len(block)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", required=True, help="folder with packages/")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--port-file", help="write the chosen port here once listening")
    args = parser.parse_args()

    publisher = Publisher(args.root)
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.publisher = publisher
    port = server.server_address[1]
    publisher.base = f"http://127.0.0.1:{port}"
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(port))
        os.replace(args.port_file + ".tmp", args.port_file)
    sys.stderr.write(f"publisher: serving {args.root} on {publisher.base}\n")
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()

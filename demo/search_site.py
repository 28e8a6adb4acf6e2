#!/usr/bin/env python3
"""A small stand-in for the search site, for trying quenlit without internet.

Serves GET /search/<keyword>_ctime_<page>.html as UTF-8 result pages in the
site's layout (LF line ends). The layout comes from result_page_template.json
beside this script, which the tests' page writer produces
(tests/support/result_page.cpp; rewrite it with the native build's
tests/demo_page_template demo/result_page_template.json). The keyword arrives
as raw code page 936 bytes (a space may arrive as %20). A few keywords have
hand-written hits; any other keyword gets generated ones. Pages 1 to 5 have
hits, other pages none.

    python3 demo/search_site.py [--port 8765] [--host 127.0.0.1]
"""
import argparse
import base64
import hashlib
import html
import json
import os
import re
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

PAGES = 5
HITS_PER_PAGE = 10

# (title, size, date) per keyword; a page cycles through them.
KNOWN = {
    "纪录片": [
        ("BBC 纪录片 地球脉动 第二季 Planet Earth II 1080p", "18.27 GB", "2017-01-03"),
        ("舌尖上的中国 第三季 全8集 国语中字", "6.41 GB", "2018-02-20"),
        ("航拍中国 第一季 纪录片 4K", "32.9 GB", "2017-02-12"),
        ("宇宙时空之旅 Cosmos 纪录片 双语字幕", "9.85 GB", "2014-06-09"),
        ("我在故宫修文物 纪录片 720p", "3.12 GB", "2016-01-07"),
    ],
    "ubuntu": [
        ("ubuntu-22.04.4-desktop-amd64.iso", "4.69 GB", "2024-02-22"),
        ("ubuntu-20.04.6-live-server-amd64.iso", "1.39 GB", "2023-03-23"),
        ("Ubuntu 18.04 LTS 中文 桌面版 镜像", "1.86 GB", "2018-04-27"),
        ("ubuntu-mate-22.04-desktop-amd64.iso", "3.01 GB", "2022-04-21"),
    ],
    "python": [
        ("Python 编程 从入门到实践 第二版 PDF", "25.6 MB", "2020-05-14"),
        ("流畅的 Python Fluent Python 中文版", "18.3 MB", "2017-05-02"),
        ("Python 数据分析 视频教程 全套", "4.22 GB", "2019-09-30"),
    ],
}

GENERIC = [
    ("{kw} 高清 合集", "2.45 GB"),
    ("{kw} 1080p 中英字幕", "7.8 GB"),
    ("【{kw}】 完整版", "1.1 GB"),
    ("{kw} 原声 音乐 FLAC", "612.4 MB"),
    ("{kw} 教程 资料 打包", "890 MB"),
]


def highlight(title, keyword):
    """Escapes the title and wraps every occurrence of the keyword (any case) in the highlight span."""
    if not keyword.strip():
        return html.escape(title)
    parts = re.split("(" + re.escape(keyword) + ")", title, flags=re.IGNORECASE)
    return "".join(
        '<span class="highlight">' + html.escape(p) + "</span>" if i % 2 else html.escape(p)
        for i, p in enumerate(parts)
    )


def hits_for(keyword, page):
    if page < 1 or page > PAGES:
        return []
    known = KNOWN.get(keyword.lower())
    hits = []
    for i in range(HITS_PER_PAGE):
        n = (page - 1) * HITS_PER_PAGE + i
        seed = hashlib.sha1(f"{keyword}|{n}".encode("utf-8")).hexdigest()
        if known:
            title, size, date = known[n % len(known)]
            if n >= len(known):
                title += f" [{n // len(known) + 1}]"
        else:
            pattern, size = GENERIC[n % len(GENERIC)]
            title = pattern.format(kw=keyword) + f" {n + 1:02d}"
            date = f"20{15 + n % 9}-{1 + n % 12:02d}-{1 + n % 28:02d}"
        info_hash = seed.upper() if n % 3 == 0 else seed
        popularity = int(seed[:6], 16) % 5000 + 1
        magnet = f"magnet:?xt=urn:btih:{info_hash}"
        link = "thunder://" + base64.b64encode(("AA" + magnet + "ZZ").encode()).decode()
        hits.append((highlight(title, keyword), size, date, popularity, info_hash, link))
    return hits


with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "result_page_template.json"), encoding="utf-8") as f:
    TEMPLATE = json.load(f)


def fill(part, **fields):
    """The template part with each {name} replaced in one pass (a field's own text is left as it is)."""
    return re.sub(r"\{(\w+)\}", lambda m: str(fields[m.group(1)]), part)


def result_page(keyword, page):
    out = fill(TEMPLATE["head"], page_title=f"{html.escape(keyword)} - 种子搜索 第{page}页")
    for title, size, date, popularity, info_hash, link in hits_for(keyword, page):
        out += fill(TEMPLATE["hit"], title_html=title, date=date, size=size, popularity=popularity, hash=info_hash,
                    link=link)
    out += TEMPLATE["tail"]
    return out.encode("utf-8")


PATH = re.compile(rb"^/search/(.*)_ctime_(-?\d+)\.html$", re.DOTALL)


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        # http.server reads the request line as Latin-1: recover the raw bytes.
        raw = self.path.encode("latin-1")
        match = PATH.match(raw)
        if not match:
            self.answer(404, "<html><body>404 Not Found</body></html>\n".encode())
            return
        keyword = urllib.parse.unquote_to_bytes(match.group(1)).decode("gbk", errors="replace")
        self.answer(200, result_page(keyword, int(match.group(2))))

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        # Show the request line's code page 936 bytes as the keyword they spell.
        line = (fmt % args).encode("latin-1", errors="replace").decode("gbk", errors="replace")
        print("demo site:", line, flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8765)
    args = parser.parse_args()
    server = ThreadingHTTPServer((args.host, args.port), Handler)
    print(f"demo search site on http://{args.host}:{args.port}/search/<keyword>_ctime_<page>.html", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()

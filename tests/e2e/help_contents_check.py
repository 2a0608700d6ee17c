#!/usr/bin/env python3
"""Opens the compiled help file with a CHM reader (extract_chmLib) and checks
what a reader of it meets:
  - every page of the help's sources is in the file, and the table of
    contents lists every page the file holds, and nothing that is not there;
  - every link of every page, and every entry of the index, leads to a page
    in the file, and to an element with that id where it names one;
  - every picture and style sheet a page uses is in the file, and every
    picture is a whole PNG;
  - the file has a full-text search index and an index entry for each page.

Usage: help_contents_check.py HELP.chm HELP_SOURCE_DIR WORK_DIR
"""
import glob
import os
import shutil
import struct
import subprocess
import sys
import zlib
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit


class Links(HTMLParser):
    """The links, pictures, ids and sitemap entries of one HTML file."""

    def __init__(self):
        super().__init__()
        self.links, self.sources, self.ids, self.locals = [], [], set(), []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a" and "name" in attrs:
            self.ids.add(attrs["name"])
        if tag == "a" and "href" in attrs:
            self.links.append(attrs["href"])
        if tag == "link" and "href" in attrs:
            self.sources.append(attrs["href"])
        if tag == "img":
            self.sources.append(attrs.get("src", ""))
        if tag == "param" and attrs.get("name", "").lower() == "local":
            self.locals.append(attrs.get("value", ""))


def parse(path):
    links = Links()
    with open(path, encoding="windows-1252") as f:
        links.feed(f.read())
    return links


def png_is_whole(path):
    """Signature, then chunks with good CRCs up to IEND."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return False
    at = 8
    while at + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc = data[at + 8 + length:at + 12 + length]
        if len(crc) != 4 or struct.unpack(">I", crc)[0] != zlib.crc32(kind + body):
            return False
        if kind == b"IEND":
            return True
        at += 12 + length
    return False


def check(chm, sources, work):
    problems = []
    out = os.path.join(work, "extracted")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(work, exist_ok=True)
    subprocess.run(["extract_chmLib", chm, out], check=True, stdout=subprocess.DEVNULL)

    pages = sorted(os.path.relpath(p, out) for p in glob.glob(os.path.join(out, "*.html")))
    wanted = sorted(os.path.basename(p) for p in glob.glob(os.path.join(sources, "*.html")))
    if pages != wanted:
        problems.append("pages in the file %s, in the sources %s" % (pages, wanted))
    parsed = {page: parse(os.path.join(out, page)) for page in pages}

    def target_problem(where, href):
        parts = urlsplit(href)
        if parts.scheme or parts.netloc:
            return "%s: links outside the help: %s" % (where, href)
        page = unquote(parts.path) or where.split("#")[0]
        if page not in parsed:
            return "%s: %s leads to no page" % (where, href)
        if parts.fragment and parts.fragment not in parsed[page].ids:
            return "%s: %s names no element of %s" % (where, href, page)
        return None

    for sitemap in ("contents.hhc", "index.hhk"):
        if not os.path.isfile(os.path.join(out, sitemap)):
            problems.append("no %s in the file" % sitemap)
            continue
        entries = parse(os.path.join(out, sitemap)).locals
        problems += filter(None, (target_problem(sitemap, e) for e in entries))
        listed = {e.split("#")[0] for e in entries}
        if sorted(listed & set(pages)) != pages:
            problems.append("%s leaves out %s" % (sitemap, sorted(set(pages) - listed)))

    for page, links in parsed.items():
        problems += filter(None, (target_problem(page, href) for href in links.links))
        for source in links.sources:
            path = os.path.join(out, unquote(source))
            if not os.path.isfile(path):
                problems.append("%s: %s is not in the file" % (page, source))
            elif source.endswith(".png") and not png_is_whole(path):
                problems.append("%s: %s is not a whole PNG" % (page, source))

    search = os.path.join(out, "$FIftiMain")
    if not os.path.isfile(search) or os.path.getsize(search) < 1024:
        problems.append("no full-text search index ($FIftiMain)")
    return pages, problems


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    pages, problems = check(argv[1], argv[2], argv[3])
    for problem in problems:
        print("FAIL:", problem)
    if problems:
        sys.exit(1)
    print("help file: %d pages, contents, index, search; every link and picture found" % len(pages))


if __name__ == "__main__":
    main(sys.argv)

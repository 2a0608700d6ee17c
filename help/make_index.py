#!/usr/bin/env python3
"""Writes the help's index (an HTML Help sitemap) from the pages' keywords.

Each page names its index entries in <meta name="keywords" content="a; b">,
so an entry lives beside the text it points to. A keyword on several pages
becomes one entry with several topics, which the help viewer offers as a
choice.

Usage: make_index.py OUTPUT.hhk PAGE.html...
"""
import html
import os
import sys
from html.parser import HTMLParser


class PageHead(HTMLParser):
    """The title and the keywords of one page."""

    def __init__(self):
        super().__init__()
        self.title = ""
        self.keywords = []
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "title":
            self._in_title = True
        elif tag == "meta" and attrs.get("name", "").lower() == "keywords":
            self.keywords = [k.strip() for k in attrs.get("content", "").split(";") if k.strip()]

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def read_page(path):
    head = PageHead()
    with open(path, encoding="windows-1252") as page:
        head.feed(page.read())
    return head.title.strip(), head.keywords


def index_entries(pages):
    """Keyword -> [(title, file)], from (file, title, keywords) triples.

    Keywords that differ only in case are one entry, spelled as first met."""
    entries = {}
    for file, title, keywords in pages:
        for keyword in keywords:
            key = keyword.lower()
            spelling, topics = entries.setdefault(key, (keyword, []))
            if (title, file) not in topics:
                topics.append((title, file))
    return [entries[key] for key in sorted(entries)]


def sitemap(entries):
    def param(name, value):
        return '<param name="%s" value="%s">' % (name, html.escape(value, quote=True))

    lines = [
        '<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">',
        "<html>",
        "<head>",
        '<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">',
        "</head>",
        "<body>",
        "<ul>",
    ]
    for keyword, topics in entries:
        item = [param("Name", keyword)]
        for title, file in topics:
            item += [param("Name", title), param("Local", file)]
        lines.append('<li><object type="text/sitemap">%s</object>' % "".join(item))
    lines += ["</ul>", "</body>", "</html>", ""]
    return "\n".join(lines)


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    pages = []
    for path in argv[2:]:
        title, keywords = read_page(path)
        if not keywords:
            sys.exit("%s: no keywords for the index" % path)
        pages.append((os.path.basename(path), title, keywords))
    with open(argv[1], "w", encoding="windows-1252", newline="\r\n") as out:
        out.write(sitemap(index_entries(pages)))


if __name__ == "__main__":
    main(sys.argv)

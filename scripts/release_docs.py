#!/usr/bin/env python3
"""The administrator's documentation, as the release archive carries it (make-release.py): read on the
Windows computer itself, from the unpacked folder, offline.

    release_docs.py SOURCE_DIR OUTPUT_DIR

Makes, with pandoc (Debian's) from the same Markdown as the repository shows:
  index.html             README.md from the line after its developers' commands, without the
                         developers' page: what Tollvey is, how to start, the pages
  docs/PAGE.html         each administrator's page of docs/, with heading anchors as GitHub makes
                         them and links between pages to their HTML
  docs/PAGE.txt          the same as plain text, in Windows' line ends, for a computer without a
                         browser
and copies what the pages show (the dialog's screenshot). The developers' page stays out. The
output is the same, byte for byte, for the same sources and pandoc.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

PAGES = ["using", "deploying", "checking", "security", "changes"]
SHOWN = ["docs/dialog.png"]
# README.md's part for administrators starts after this line.
README_START = "<!-- The archive's index.html starts here. -->"

LINKS_TO_HTML = r"""
function Link(link)
  if not link.target:match("^%a[%w+.-]*:") then
    link.target = link.target:gsub("%.md$", ".html"):gsub("%.md#", ".html#")
  end
  return link
end
"""


def title_of(markdown):
    heading = re.search(r"^# (.+)$", markdown, re.M)
    return re.sub(r"[`*]", "", heading.group(1)) if heading else "Tollvey"


def pandoc(markdown, target, filters):
    """Writes the Markdown as a standalone HTML page and returns nothing; pandoc's errors stop the run."""
    subprocess.run(["pandoc", "--from=gfm+gfm_auto_identifiers", "--to=html5", "--standalone",
                    "--metadata", "pagetitle=" + title_of(markdown), "--lua-filter", filters, "--output", target],
                   input=markdown.encode("utf-8"), check=True)


def plain_text(markdown, target):
    text = subprocess.run(["pandoc", "--from=gfm", "--to=plain", "--columns=100"], input=markdown.encode("utf-8"),
                          check=True, capture_output=True).stdout.decode("utf-8")
    with open(target, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("utf-8"))


def index_markdown(source):
    """README.md's part for administrators, without the row of the developers' page."""
    with open(os.path.join(source, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    if README_START not in readme:
        raise ValueError("README.md has no line " + README_START)
    part = readme.split(README_START, 1)[1]
    lines = [line for line in part.splitlines(keepends=True) if "developing.md" not in line]
    return "# Tollvey\n" + "".join(lines)


def render(source, output):
    """Writes the pages into OUTPUT and returns their names there, with / between folders."""
    os.makedirs(os.path.join(output, "docs"), exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        filters = os.path.join(work, "links.lua")
        with open(filters, "w", encoding="utf-8") as f:
            f.write(LINKS_TO_HTML)
        pandoc(index_markdown(source), os.path.join(output, "index.html"), filters)
        for page in PAGES:
            with open(os.path.join(source, "docs", page + ".md"), encoding="utf-8") as f:
                markdown = f.read()
            pandoc(markdown, os.path.join(output, "docs", page + ".html"), filters)
            plain_text(markdown, os.path.join(output, "docs", page + ".txt"))
    for shown in SHOWN:
        shutil.copyfile(os.path.join(source, shown), os.path.join(output, shown))
    return ["index.html"] + [f"docs/{page}.{kind}" for page in PAGES for kind in ("html", "txt")] + SHOWN


if __name__ == "__main__":
    render(*(os.path.abspath(a) for a in sys.argv[1:3]))

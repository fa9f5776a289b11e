#!/usr/bin/env python3
"""The documentation cannot drift from itself or from the programs.

    check_docs.py SOURCE_DIR [UNPACKED_ARCHIVE_DIR]

In the Markdown (README.md and docs/*.md): every link to a file names one that exists, and every
anchor one of the headings of its page, as GitHub and pandoc's gfm_auto_identifiers make them. Every
exit status that resources/ExitStatus.h defines for a program is a row with a meaning in an exit
status table of the page that documents it, every one that its comment names as retired a row whose
meaning begins with "retired", and those tables hold no other status. Given the unpacked release
archive, its HTML pages instead, which are made of that Markdown: every link and anchor resolves
there, offline. Prints one line per fault; exits 1 if there is any.
"""
import html.parser
import os
import re
import sys
import urllib.parse

# Where each program's exit statuses are documented: the header's section and its page.
STATUS_PAGES = {"TollveyCmd.exe and Tollvey.exe": "docs/using.md", "TollveyCheck.exe": "docs/checking.md",
                "TollveyDeploy.exe": "docs/deploying.md"}
RETIRED = "retired"


def slug(heading):
    """The anchor of a heading, as GitHub makes it: its text without markup, lower case, with every
    character but letters, digits, blanks, hyphens and underscores dropped, and blanks made hyphens."""
    text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = re.sub(r"[`*]", "", text).strip().lower()
    return "".join("-" if c == " " else c for c in text if c.isalnum() or c in " -_")


def markdown_parts(path):
    """The anchors of a Markdown page, and the targets of its links, outside code."""
    anchors, links, fenced = [], [], False
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("```"):
                fenced = not fenced
            if fenced or line.startswith("    "):
                continue
            heading = re.match(r"^#{1,6} (.*)$", line)
            if heading:
                anchor = slug(heading.group(1))
                # A second heading of the same text is told apart as GitHub does: -1, -2, ...
                count = sum(1 for a in anchors if re.fullmatch(re.escape(anchor) + r"(-\d+)?", a))
                anchors.append(anchor if count == 0 else "%s-%d" % (anchor, count))
            line = re.sub(r"`[^`]*`", "", line)
            links += re.findall(r"\]\(([^)\s]+)\)", line)
    return anchors, links


class HtmlParts(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.anchors, self.links = [], []

    def handle_starttag(self, tag, attributes):
        for name, value in attributes:
            if name == "id":
                self.anchors.append(value)
            elif name in ("href", "src"):
                self.links.append(value)


def html_parts(path):
    parser = HtmlParts()
    with open(path, encoding="utf-8") as f:
        parser.feed(f.read())
    return parser.anchors, parser.links


def link_faults(pages, parts):
    """Every relative link of the pages resolves: its file exists, and its anchor is one of that page's."""
    faults, known = [], {page: parts(page) for page in pages}
    for page, (_, links) in known.items():
        for link in links:
            target = urllib.parse.urlparse(link)
            if target.scheme or link.startswith("//"):
                continue
            path = os.path.normpath(os.path.join(os.path.dirname(page), urllib.parse.unquote(target.path))) \
                if target.path else page
            if not os.path.exists(path):
                faults.append("%s: the link %s names no file" % (page, link))
            elif target.fragment:
                anchors = known[path][0] if path in known else parts(path)[0]
                if target.fragment not in anchors:
                    faults.append("%s: the link %s names no heading of %s" % (page, link, os.path.basename(path)))
    return faults


def defined_statuses(source):
    """{program: {status: None, or RETIRED for one its section's comment names as retired}} as
    resources/ExitStatus.h defines them: a section starts with a comment line that names the program
    and ends in a full stop, or goes on after one."""
    statuses, section, comment = {}, None, ""
    with open(os.path.join(source, "resources", "ExitStatus.h"), encoding="utf-8") as f:
        for line in f:
            header = re.match(r"^// (\S.*\.exe)\.( |$)", line)
            if header:
                section, comment = header.group(1), ""
            if line.startswith("//") and section:
                comment += line[2:].strip() + " "
            value = re.match(r"^const unsigned \w+ = (\d+);", line)
            if value:
                statuses.setdefault(section, {})[int(value.group(1))] = None
                retired = re.search(r"((?:\d+, )*\d+(?: and \d+)?) (?:is|are) retired", comment)
                for number in re.findall(r"\d+", retired.group(1) if retired else ""):
                    statuses[section].setdefault(int(number), RETIRED)
    return statuses


def documented_statuses(page):
    """{status: meaning} from the page's tables headed "Exit status"."""
    rows, in_table = {}, False
    with open(page, encoding="utf-8") as f:
        for line in f:
            if re.match(r"^\| *Exit status *\|", line):
                in_table = True
                continue
            if not line.startswith("|"):
                in_table = False
            row = re.match(r"^\| *(\d+) *\| *(.*?) *\|$", line.rstrip()) if in_table else None
            if row:
                rows[int(row.group(1))] = row.group(2)
    return rows


def status_faults(source):
    faults = []
    for program, statuses in defined_statuses(source).items():
        page = os.path.join(source, STATUS_PAGES[program])
        rows = documented_statuses(page) if os.path.exists(page) else {}
        for status, kind in sorted(statuses.items()):
            meaning = rows.get(status, "")
            if kind == RETIRED and not meaning.lower().startswith(RETIRED):
                faults.append("%s: exit status %d of %s is retired, and has no row whose meaning begins with \"%s\""
                              % (STATUS_PAGES[program], status, program, RETIRED))
            elif not meaning:
                faults.append("%s: exit status %d of %s has no row with a meaning" % (STATUS_PAGES[program], status, program))
        for status in sorted(set(rows) - set(statuses)):
            faults.append("%s: exit status %d is not one of %s's" % (STATUS_PAGES[program], status, program))
    return faults


def main():
    source = os.path.abspath(sys.argv[1])
    if len(sys.argv) > 2:
        archive = os.path.abspath(sys.argv[2])
        pages = [os.path.join(root, name) for root, _, names in os.walk(archive) for name in names
                 if name.endswith(".html")]
        faults = link_faults(sorted(pages), html_parts) if pages else ["%s: no HTML page" % archive]
    else:
        docs = os.path.join(source, "docs")
        markdown = [os.path.join(source, "README.md")] + sorted(
            os.path.join(docs, name) for name in os.listdir(docs) if name.endswith(".md"))
        faults = link_faults(markdown, markdown_parts) + status_faults(source)
    for fault in faults:
        print(fault)
    print("%d fault(s)" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())

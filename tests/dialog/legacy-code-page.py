#!/usr/bin/env python3
"""Copies a program with the UTF-8 code page taken out of its manifest, so that it runs as Windows 10
before version 1903, Windows Server 2019 and older systems run it: with the legacy code page.

    legacy-code-page.py PROGRAM COPY

The element becomes a comment of the same length, so nothing else in the file moves.
"""
import re
import sys

ELEMENT = re.compile(rb"<activeCodePage [^>]*>UTF-8</activeCodePage>")

source, copy = sys.argv[1:3]
data = open(source, "rb").read()
found = ELEMENT.findall(data)
if len(found) != 1:
    sys.exit("%s: expected one UTF-8 activeCodePage element in the manifest, found %d" % (source, len(found)))
comment = b"<!--" + b" " * (len(found[0]) - 7) + b"-->"
open(copy, "wb").write(ELEMENT.sub(comment, data))

#!/usr/bin/env python3
"""Compares the columns of every code point with Python's unicodedata.

Usage: widths_check.py PRINT_WIDTHS_PROGRAM
Python's database is an older Unicode version than Velmo's; its answer is
the East Asian width (W and F: two columns) and the general category (marks
and format characters: none). The differences accepted are counted by kind
and must all be explained below; any other difference fails.
"""
import subprocess
import sys
import unicodedata

ACCEPTED = {
    # Unassigned in Python's version (some assigned since): it answers F for
    # them, two columns; Velmo gives unassigned code points one.
    "newer": "code points Python's database does not know",
    # Regional indicators are neutral width but emoji by default (a lone one
    # shows as a letter in a box, two as a flag): two columns.
    "regional": "regional indicators U+1F1E6..U+1F1FF",
    # Unassigned code points in the ideographic planes and blocks default to
    # wide in Velmo's tables (UAX #11's @missing lines); Python says neutral.
    "reserved-wide": "unassigned code points that default to wide",
}

ours = {}
out = subprocess.run([sys.argv[1]], capture_output=True, text=True, check=True).stdout
for line in out.splitlines():
    cp, cols = line.split("\t")
    ours[int(cp, 16)] = int(cols)

counts = {key: 0 for key in ACCEPTED}
unexplained = []
for cp, cols in ours.items():
    ch = chr(cp)
    category = unicodedata.category(ch)
    if category in ("Mn", "Mc", "Me", "Cf"):
        theirs = 0
    elif unicodedata.east_asian_width(ch) in ("W", "F"):
        theirs = 2
    else:
        theirs = 1
    if cols == theirs:
        continue
    if 0x1F1E6 <= cp <= 0x1F1FF:
        counts["regional"] += 1
    elif category == "Cn" and cols == 2:
        counts["reserved-wide"] += 1
    elif category == "Cn":
        counts["newer"] += 1
    else:
        unexplained.append(f"U+{cp:04X} {unicodedata.name(ch, '?')}: {cols}, Python {theirs}")

print(f"{len(ours)} code points compared with Python's Unicode {unicodedata.unidata_version}")
for key, text in ACCEPTED.items():
    print(f"  accepted: {counts[key]:6} {text}")
for line in unexplained[:50]:
    print("  UNEXPLAINED", line)
print(f"  unexplained: {len(unexplained)}")
sys.exit(1 if unexplained else 0)

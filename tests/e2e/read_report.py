#!/usr/bin/env python3
"""Reads QuellScan's CSV or JSON output with Python's own parsers and prints one line per finding,
its fields joined by " | " (a missing field as "-"), so that a scenario can compare them as text.
Fails on anything either parser or strict UTF-8 refuses, and on a row whose fields differ from the
header's columns."""
import csv
import json
import sys

COLUMNS = ["backdoor", "kind", "path", "process_id", "parent_path", "registry_root",
           "registry_key", "value_name", "registry_view", "action", "outcome"]


def rows_of(kind, path):
    with open(path, encoding="utf-8", errors="strict", newline="") as stream:
        if kind == "csv":
            reader = csv.DictReader(stream, strict=True)
            if reader.fieldnames != COLUMNS:
                sys.exit(f"CSV header is {reader.fieldnames}")
            for row in reader:
                if None in row or None in row.values():
                    sys.exit(f"CSV row of another width: {row}")
                yield [row[c] or None for c in COLUMNS]
        else:
            for number, line in enumerate(stream, 1):
                record = json.loads(line)
                if list(record) != COLUMNS:
                    sys.exit(f"JSON line {number} has the keys {list(record)}")
                if record["process_id"] is not None and not isinstance(record["process_id"], int):
                    sys.exit(f"JSON line {number}: process_id is no number")
                yield [None if record[c] is None else str(record[c]) for c in COLUMNS]


def main():
    kind, path = sys.argv[1], sys.argv[2]
    out = open(sys.stdout.fileno(), "w", encoding="utf-8", closefd=False)
    for fields in rows_of(kind, path):
        out.write(" | ".join("-" if f is None else f for f in fields) + "\n")


main()

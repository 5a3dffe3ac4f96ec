#!/usr/bin/env python3
"""Fails when a text in the sources has no finished translation in a .ts file.

Runs lupdate over the sources into a copy of the file, so a string added (or changed) without a
translation shows up as unfinished there, and lists each one with its context."""
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path


def main() -> int:
    if len(sys.argv) != 4:
        print("usage: complete.py LUPDATE SOURCE_DIR TS_FILE", file=sys.stderr)
        return 2
    lupdate, sources, ts = sys.argv[1:]
    with tempfile.TemporaryDirectory() as folder:
        copy = Path(folder) / Path(ts).name
        shutil.copyfile(ts, copy)
        run = subprocess.run([lupdate, "-no-obsolete", "-locations", "none", sources, "-ts", str(copy)],
                             capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr, file=sys.stderr)
            return 1
        # lupdate's own warnings (a tr() it cannot place) would lose strings silently.
        warnings = [line for line in run.stderr.splitlines() if "warning" in line.lower()]
        missing = []
        found = 0
        for context in ET.parse(copy).getroot().iter("context"):
            name = context.findtext("name")
            for message in context.iter("message"):
                found += 1
                translation = message.find("translation")
                numerus = translation.findall("numerusform")
                texts = [form.text for form in numerus] if numerus else [translation.text]
                if translation.get("type") in ("unfinished", "vanished", "obsolete") or not all(texts):
                    missing.append((name, message.findtext("source")))
    for line in warnings:
        print(line)
    for name, source in missing:
        print(f"{Path(ts).name}: no translation in {name}: {source!r}")
    print(f"{found} texts, {len(missing)} without a translation")
    return 1 if missing or warnings or found == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

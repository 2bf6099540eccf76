#!/usr/bin/env python3
"""Writes compressed MusicXML (".mxl") fixtures into a folder, one per case of mxl.cmake.

usage: mxl_fixtures.py FOLDER
"""

import os
import sys
import zipfile

SCORE = b"""<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 2.0 Partwise//EN"
  "http://www.musicxml.org/dtds/partwise.dtd">
<score-partwise version="2.0"><part-list><score-part id="P1"><part-name>Lute</part-name>
<score-instrument id="P1-I1"><instrument-name>Lute</instrument-name></score-instrument>
</score-part></part-list><part id="P1"><measure number="1"/></part></score-partwise>
"""


def container(*rootfiles):
    entries = "".join(
        f'<rootfile full-path="{path}"' + (f' media-type="{kind}"' if kind else "") + "/>" for path, kind in rootfiles)
    return f'<?xml version="1.0"?><container><rootfiles>{entries}</rootfiles></container>'


def write(folder, name, entries):
    with zipfile.ZipFile(os.path.join(folder, name), "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
        for entry, data in entries:
            archive.writestr(entry, data)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    musicxml = "application/vnd.recordare.musicxml+xml"
    write(folder, "nested.mxl", [("META-INF/container.xml", container(("scores/piece.musicxml", None))),
                                 ("scores/piece.musicxml", SCORE)])
    write(folder, "pdf-first.mxl", [("META-INF/container.xml",
                                     container(("score.pdf", "application/pdf"), ("score.xml", musicxml))),
                                    ("score.pdf", b"%PDF-1.4\n"), ("score.xml", SCORE)])
    write(folder, "no-container.mxl", [("score.xml", SCORE)])
    write(folder, "parent-path.mxl", [("META-INF/container.xml", container(("../x.xml", None))),
                                      ("../x.xml", SCORE)])
    write(folder, "absolute-path.mxl", [("META-INF/container.xml", container((os.path.join(folder, "abs.xml"), None))),
                                        ("abs.xml", SCORE)])
    write(folder, "missing-rootfile.mxl", [("META-INF/container.xml", container(("gone.xml", None))),
                                           ("score.xml", SCORE)])
    write(folder, "pdf-only.mxl", [("META-INF/container.xml", container(("score.pdf", "application/pdf"))),
                                   ("score.pdf", b"%PDF-1.4\n")])
    # A score that declares 100 MiB but packs into a few bytes: no score packs so tightly, so it
    # is refused by the ratio a bundle is held to, before anything is inflated.
    path = os.path.join(folder, "too-tight.mxl")
    write(folder, "too-tight.mxl", [("META-INF/container.xml", container(("score.xml", None))), ("score.xml", SCORE)])
    with open(path, "rb") as f:
        data = bytearray(f.read())
    central = data.rindex(b"PK\x01\x02")
    data[central + 24:central + 28] = (100 << 20).to_bytes(4, "little")
    with open(path, "wb") as f:
        f.write(data)
    # A gigabyte of zeros as the score: refused by its declared size, before anything is inflated.
    with zipfile.ZipFile(os.path.join(folder, "gigabyte.mxl"), "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
        archive.writestr("META-INF/container.xml", container(("score.xml", None)))
        with archive.open("score.xml", "w") as score:
            chunk = bytes(1 << 24)
            for _ in range(64):
                score.write(chunk)
    return 0


if __name__ == "__main__":
    sys.exit(main())

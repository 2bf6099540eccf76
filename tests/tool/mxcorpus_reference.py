#!/usr/bin/env python3
"""Checks `vornel-tool import` on every MusicXML file of the corpus against Python's ElementTree.

Each file either imports or fails with the system's message, never a crash or a hang. For a file
that imports, the instrument definitions match the score's "part" elements in number and order,
each named as the score prints it ("part-name-display", else "part-name", else the last
"instrument-name" of its "score-part") and given
its last "midi-program" (counted from 1 in MusicXML, from 0 in the document); a part that tunes
its staff lines gets those
pitches (with "tuning-alter" and the capo), lowest line as last course. A compressed score imports
exactly as the XML inside it. The section strikes as many notes as the score has pitched notes
that are not grace notes and end no tie, but for the files listed with their reasons: a note
held on from the chord before it (where a length takes several values, or a chord is cut where
another voice of its staff starts) is not struck again.

usage: mxcorpus_reference.py TOOL CORPUS_DIR WORK_DIR
"""

import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
import zipfile

UNREADABLE = "Sorry, I am unable to read this file"
NO_INSTRUMENTS = "Sorry, I am unable to read the instrument data in this file"
DEFAULT_COURSES = [67, 62, 57, 53, 48, 43, 41]  # a new definition's lute in G
SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
# A name may hold line ends: the listing is searched as a whole.
NOTE_COUNT_EXCEPTIONS = {
    "24b-ChordAsGraceNote.xml": (6, "a grace note, which the import leaves out, is tied to the note after it: that "
                                   "note is struck"),
    "71e-TabStaves.xml": (62, "a chord of part 4 puts three notes on a course that another note of it "
                              "holds, with no free course to take them: a course sounds one note, the others are "
                              "left out and counted"),
}
HELD = 8  # slur word bits 8-11 of a note held from the chord before
INSTRUMENT = re.compile(r'^  instrument (\d+) "(.*?)" program (\d+) courses (\d+):([^\n]*)$', re.M | re.S)


def number(text, convert=int, default=0):
    try:
        return convert((text or "").strip())
    except ValueError:
        return default


def courses(part):
    """The course pitches (course 1 first) a part's staff details give, or None."""
    tuning = {}
    lines = None
    capo = 0
    for details in part.iter("staff-details"):
        for child in details:
            if child.tag == "staff-lines":
                lines = number(child.text)
            elif child.tag == "capo":
                capo = number(child.text)
            elif child.tag == "staff-tuning":
                step = (child.findtext("tuning-step") or "").strip()
                if not step or step[0] not in SEMITONES:
                    continue
                octave = number(child.findtext("tuning-octave"))
                alter = round(number(child.findtext("tuning-alter"), float, 0.0))
                tuning[number(child.get("line"))] = (octave + 1) * 12 + SEMITONES[step[0]] + alter
    if not tuning:
        return None
    if lines is None:
        lines = len(tuning)
    pitches = [tuning[line] + capo for line in sorted(tuning)][: max(0, min(lines, 16))]
    if not pitches or any(p < 23 or p > 127 for p in pitches):
        return None
    return list(reversed(pitches))


def expected(path):
    """("ok", [(name, program, courses)], pitched notes that are not grace notes) or ("fail", message)."""
    root = ET.parse(path).getroot()
    if root.tag != "score-partwise":
        return "fail", UNREADABLE
    part_list = root.find("part-list")
    score_parts = {} if part_list is None else {p.get("id"): p for p in part_list.iter("score-part")}
    if not score_parts:
        return "fail", NO_INSTRUMENTS
    definitions = []
    for part in root.findall("part"):
        entry = score_parts.get(part.get("id"))
        # The name the score prints: the texts of "part-name-display", else "part-name", else
        # the last "instrument-name".
        names = [] if entry is None else [e.text or "" for e in entry.iter("instrument-name")]
        signs = {"sharp": "\u266f", "flat": "\u266d", "natural": "\u266e", "double-sharp": "\U0001d12a",
                 "flat-flat": "\U0001d12b", "sharp-sharp": "\u266f\u266f"}
        shown = "" if entry is None else "".join(
            (t.text or "") if t.tag == "display-text" else signs.get(t.text or "", "")
            for d in entry.findall("part-name-display") for t in d if t.tag in ("display-text", "accidental-text"))
        if not shown and entry is not None and entry.find("part-name") is not None:
            shown = entry.find("part-name").text or ""
        if shown:
            names = [shown]
        programs = [] if entry is None else [m.findtext("midi-program") for m in entry.iter("midi-instrument")]
        program = number(programs[-1]) if programs and programs[-1] is not None else 0
        definitions.append((names[-1] if names else "", program - 1 if 1 <= program <= 128 else 0,
                            courses(part) or DEFAULT_COURSES))
    notes = sum(1 for n in root.iter("note") if n.find("pitch") is not None and n.find("grace") is None and
                not any(t.get("type") == "stop" for t in n.iter("tied")))
    return "ok", definitions[:128], notes


def struck_notes(path):
    """The notes of a document that are not held on from the chord before them."""
    return sum(1 for n in ET.parse(path).getroot().iter("note")
               if n.get("pitch") is not None and ((int(n.get("slur") or 0) >> 8) & 0x0F) != HELD)


def run(tool, source, out):
    return subprocess.run([tool, "import", source, out], capture_output=True, timeout=120)


def main():
    tool, corpus, work = sys.argv[1:4]
    os.makedirs(work, exist_ok=True)
    failures = []
    imported = refused = 0
    for name in sorted(os.listdir(corpus)):
        if not name.endswith((".xml", ".mxl")):
            continue
        path = os.path.join(corpus, name)
        if name.endswith(".mxl"):
            with zipfile.ZipFile(path) as archive:
                container = ET.fromstring(archive.read("META-INF/container.xml"))
                inner = container.find("rootfiles/rootfile").get("full-path")
                inner_path = os.path.join(work, name + ".inner.xml")
                with open(inner_path, "wb") as f:
                    f.write(archive.read(inner))
            want = expected(inner_path)
        else:
            want = expected(path)
        out = os.path.join(work, name + ".btxml")
        result = run(tool, path, out)
        stdout = result.stdout.decode("utf-8", "replace")
        stderr = result.stderr.decode("utf-8", "replace")
        if result.returncode not in (0, 1):
            failures.append(f"{name}: exit code {result.returncode}: {stderr.strip()}")
            continue
        if result.returncode == 1:
            refused += 1
            message = stderr.strip().splitlines()[-1] if stderr.strip() else ""
            if want[0] != "fail" or message != want[1] or os.path.exists(out):
                failures.append(f"{name}: refused with '{message}', expected {want}")
            continue
        imported += 1
        if want[0] != "ok":
            failures.append(f"{name}: imported, expected '{want[1]}'")
            continue
        got = []
        for match in INSTRUMENT.finditer(stdout):
            pitches = [int(p) for p in match.group(5).split()]
            got.append((match.group(2), int(match.group(3)), pitches))
        if got != want[1]:
            failures.append(f"{name}: definitions {got}, expected {want[1]}")
        notes = struck_notes(out)
        expected_notes = NOTE_COUNT_EXCEPTIONS.get(name, (want[2], ""))[0]
        if notes != expected_notes:
            failures.append(f"{name}: {notes} notes struck, expected {expected_notes} (the score has {want[2]})")
        if name.endswith(".mxl"):
            inner_out = os.path.join(work, name + ".inner.btxml")
            inner_result = run(tool, inner_path, inner_out)
            with open(out, "rb") as a, open(inner_out, "rb") as b:
                if inner_result.returncode != 0 or a.read() != b.read():
                    failures.append(f"{name}: imports unlike the XML inside it")
    print(f"{imported} imported, {refused} refused; the struck notes of {len(NOTE_COUNT_EXCEPTIONS)} files differ:")
    for name, (notes, reason) in sorted(NOTE_COUNT_EXCEPTIONS.items()):
        print(f"  {name}: {notes} struck, as {reason}")
    if imported + refused < 160:
        failures.append(f"only {imported + refused} files found in {corpus}")
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

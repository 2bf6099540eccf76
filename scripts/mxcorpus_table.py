#!/usr/bin/python3
"""Imports every MusicXML file of a folder, exports the section as MusicXML again and prints
one row per file, read with an independent reader (tests/tool/mxscore.py):

  notes     pitched notes of the score (grace and cue notes left out) / of them ending a tie
  imported  notes the document holds / of them held from the chord before (a tie)
  exported  pitched notes of the exported file / of them ending a tie
  pitches   exported notes whose pitch equals the score's, the notes of each instrument taken
            in time order (the struck ones: a note ending a tie is not struck again)
  timed     of those, the ones that also start when the score starts them
  measures  measures of each instrument's first exported part as long as their time signature
            / measures; then the same for the score's parts
  warnings  lines the import wrote with --warnings

usage: mxcorpus_table.py TOOL CORPUS_DIR WORK_DIR [FILE...]
"""

import collections
import difflib
import os
import subprocess
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "tool"))
import mxscore  # noqa: E402

TIE_TYPE = 8  # slur word bits 8-11 of a note held from the chord before


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=300)


def document_notes(path):
    """(notes, held notes) of every voice of every instrument line of a document."""
    notes = held = 0
    for note in ET.parse(path).getroot().iter("note"):
        if note.get("pitch") is None:
            continue
        notes += 1
        held += ((int(note.get("slur") or 0) >> 8) & 0x0F) == TIE_TYPE
    return notes, held


def struck(notes):
    return sorted((n.onset, n.pitch) for n in notes if not n.held)


def exported_instruments(score):
    """Per instrument number, the exported parts "P<instrument>-<staff>" in staff order."""
    instruments = collections.defaultdict(list)
    for part in score.parts:
        head, _, staff = (part.id or "").partition("-")
        if head.startswith("P") and head[1:].isdigit() and staff.isdigit():
            instruments[int(head[1:]) - 1].append(part)
    return instruments


def instrument_notes(parts):
    """The notes of an instrument: one part's when every staff shows the same music, else all."""
    first = [(n.onset, n.pitch, n.held) for n in parts[0].notes]
    if all([(n.onset, n.pitch, n.held) for n in p.notes] == first for p in parts[1:]):
        return parts[0].notes
    return [n for p in parts for n in p.notes]


def compare(source, exported):
    """(pitches equal, pitches equal at the same onset, full exported measures, exported
    measures, full source measures, source measures)."""
    equal = timed = 0
    full = total = source_full = source_total = 0
    instruments = exported_instruments(exported)
    for index, part in enumerate(source.parts):
        source_full += sum(m.full() for m in part.measures)
        source_total += len(part.measures)
        parts = instruments.get(index)
        if not parts:
            continue
        want = struck(part.notes)
        got = struck(instrument_notes(parts))
        matcher = difflib.SequenceMatcher(None, [p for _, p in want], [p for _, p in got], autojunk=False)
        equal += sum(block.size for block in matcher.get_matching_blocks())
        timed += sum((collections.Counter(want) & collections.Counter(got)).values())
        full += sum(m.full() for m in parts[0].measures)
        total += len(parts[0].measures)
    return equal, timed, full, total, source_full, source_total


def main():
    tool, corpus, work = sys.argv[1:4]
    names = sys.argv[4:] or sorted(n for n in os.listdir(corpus) if n.endswith((".xml", ".mxl")))
    os.makedirs(work, exist_ok=True)
    print("| file | notes | imported | exported | pitches | timed | measures | source measures | warnings |")
    print("|---|---|---|---|---|---|---|---|---|")
    totals = collections.Counter()
    for name in names:
        path = os.path.join(corpus, name)
        document = os.path.join(work, name + ".btxml")
        exported_path = os.path.join(work, name + ".exported.xml")
        for stale in (document, exported_path):
            if os.path.exists(stale):
                os.remove(stale)
        source = mxscore.read_score(path)
        notes = sum(len(p.notes) for p in source.parts)
        source_held = sum(n.held for p in source.parts for n in p.notes)
        imported = run(tool, "import", path, document, "--warnings")
        warnings = sum(1 for line in imported.stderr.splitlines() if line.strip())
        if imported.returncode != 0:
            print(f"| {name} | {notes} / {source_held} | refused | | | | | | {warnings} |")
            continue
        held_notes, held = document_notes(document)
        exported = run(tool, "export", document, exported_path)
        if exported.returncode != 0:
            print(f"| {name} | {notes} / {source_held} | {held_notes} / {held} | export failed | | | | | {warnings} |")
            continue
        result = mxscore.read_score(exported_path)
        out_notes = sum(len(p.notes) for p in result.parts)
        out_held = sum(n.held for p in result.parts for n in p.notes)
        equal, timed, full, total, source_full, source_total = compare(source, result)
        print(f"| {name} | {notes} / {source_held} | {held_notes} / {held} | {out_notes} / {out_held} | {equal} | "
              f"{timed} | {full} / {total} | {source_full} / {source_total} | {warnings} |")
        totals.update(files=1, notes=notes, source_held=source_held, imported=held_notes, held=held,
                      exported=out_notes, exported_held=out_held, equal=equal, timed=timed, full=full, total=total,
                      source_full=source_full, source_total=source_total, warned=warnings > 0,
                      struck=notes - source_held)
    t = totals
    print(f"| {t['files']} files ({t['warned']} warned) | {t['notes']} / {t['source_held']} | "
          f"{t['imported']} / {t['held']} | {t['exported']} / {t['exported_held']} | {t['equal']} of {t['struck']} | "
          f"{t['timed']} | {t['full']} / {t['total']} | {t['source_full']} / {t['source_total']} | |")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Imports MusicXML files of the corpus, exports the section as MusicXML and imports that again.

Each part the export writes ("P<instrument>-<staff>") walks one voice of its instrument: the
first, or, where the instrument's staves are all of notation and as many as its voices with
notes, the voice of the staff's place. Read with an independent reader (mxscore.py), every part
holds that voice's notes chord by chord: the same pitches (step, alteration and octave make the
pitch the document holds) and the same held notes (a tie ends on a note held from the chord
before). Imported again, the part keeps the voice's chords, their rhythm words, pitches and
courses. The files listed below keep less, for the reasons given.

usage: mxroundtrip_reference.py TOOL CORPUS_DIR WORK_DIR GROUP...
"""

import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

import mxscore

# What a file does not keep when imported again: "rhythm" or "course".
NO_STRINGS = "the export writes neither the tuning nor strings and frets: courses come from the default tuning"
EXCEPTIONS = {
    "32a-Notations.xml": ({"course"}, NO_STRINGS),
    "71e-TabStaves.xml": ({"course"}, NO_STRINGS),
}
PART_ID = re.compile(r"^P(\d+)-(\d+)$")
HELD = 8  # slur word bits 8-11 of a note held from the chord before


def document(path):
    """Per instrument line: its voices (chords of every system, in order) and whether its staves
    are all of notation."""
    root = ET.parse(path).getroot()
    section = root.find(".//section")
    notation = [all(c.get("type") == "0" for c in d.find("clefs").findall("clef")) if d.find("clefs") is not None
                else False for d in section.find("instruments").findall("instrument")]
    lines = {}
    for system in root.iter("system"):
        for line, instrument in enumerate(system.find("instruments").findall("instrument")):
            voices = lines.setdefault(line, [])
            for index, staff in enumerate(instrument.findall("staff")):
                while len(voices) <= index:
                    voices.append([])
                for event in staff.findall("event"):
                    if event.get("type") != "chord":
                        continue
                    notes = sorted((int(n.get("pitch")), int(n.get("string")),
                                    ((int(n.get("slur") or 0) >> 8) & 0x0F) == HELD) for n in event.iter("note"))
                    voices[index].append((int(event.get("flag") or 0) & 0xFF, notes))
    return [(lines.get(line, []), notation[line] if line < len(notation) else False) for line in range(len(lines))]


def walked_voice(line, staves, staff):
    """The voice the export's part of `staff` walks."""
    voices, all_notation = line
    with_notes = [i for i, v in enumerate(voices) if any(notes for _, notes in v)]
    if all_notation and staves > 1 and len(with_notes) == staves:
        return voices[with_notes[staff]]
    return voices[0] if voices else []


def sounding(chords):
    """The chords with notes, as (pitch, held) lists."""
    return [[(pitch, held) for pitch, _, held in notes] for _, notes in chords if notes]


def exported_chords(part):
    """The notes of an exported part grouped into chords by onset, as (pitch, held) lists."""
    chords = []
    onset = None
    for note in part.notes:
        if note.onset != onset:
            chords.append([])
            onset = note.onset
        chords[-1].append((note.pitch, note.held))
    return [sorted(chord) for chord in chords]


def view(chords, skipped):
    """The chords with what is not compared left out."""
    result = []
    for rhythm, notes in chords:
        if "course" in skipped:
            notes = [(pitch, 0, held) for pitch, _, held in notes]
        result.append((0 if "rhythm" in skipped else rhythm, notes))
    return result


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120)


def main():
    tool, corpus, work = sys.argv[1:4]
    groups = sys.argv[4:]
    os.makedirs(work, exist_ok=True)
    failures = []
    compared = 0
    for name in sorted(os.listdir(corpus)):
        if not name.endswith(".xml") or name[:2] not in groups:
            continue
        first = os.path.join(work, name + ".btxml")
        exported = os.path.join(work, name + ".exported.xml")
        second = os.path.join(work, name + ".again.btxml")
        steps = [(tool, "import", os.path.join(corpus, name), first), (tool, "export", first, exported),
                 (tool, "import", exported, second)]
        result = None
        for step in steps:
            result = run(*step)
            if result.returncode != 0:
                break
        if result.returncode != 0:
            failures.append(f"{name}: {' '.join(step[1:2])} failed: {result.stderr.strip()}")
            continue
        skipped = EXCEPTIONS.get(name, (set(), ""))[0]
        before = document(first)
        after = document(second)
        score = mxscore.read_score(exported)
        if len(score.parts) != len(after):
            failures.append(f"{name}: {len(score.parts)} parts exported, {len(after)} imported again")
            continue
        staves = {}
        for part in score.parts:
            match = PART_ID.match(part.id or "")
            if match:
                staves[int(match.group(1))] = staves.get(int(match.group(1)), 0) + 1
        for part, again in zip(score.parts, after):
            match = PART_ID.match(part.id or "")
            line = int(match.group(1)) - 1 if match else -1
            if not 0 <= line < len(before):
                failures.append(f"{name}: part {part.id} names no instrument")
                continue
            voice = walked_voice(before[line], staves[line + 1], int(match.group(2)))
            if exported_chords(part) != sounding(voice):
                failures.append(f"{name}: part {part.id} does not sound as instrument {line + 1}: "
                                f"{exported_chords(part)[:8]} against {sounding(voice)[:8]}")
            again_voice = again[0][0] if again[0] else []
            if view(again_voice, skipped) != view(voice, skipped):
                failures.append(f"{name}: part {part.id} imported again differs from instrument {line + 1}")
        compared += 1
    print(f"{compared} files exported and imported again; kept less:")
    for name, (skipped, reason) in sorted(EXCEPTIONS.items()):
        print(f"  {name}: no {', '.join(sorted(skipped))}, as {reason}")
    if compared < 30:
        failures.append(f"only {compared} files compared")
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Do MusicXML files keep their music through the program? Each file is imported, written as a
Standard MIDI File and exported as MusicXML again; the notes the MIDI file plays (read with
mido) and the notes the exported file holds are compared with the notes of the source, each
read by the reader below, which knows nothing of the program:

  - a note starts where MusicXML's own time puts it (durations in divisions, "backup",
    "forward", a chord note at the onset of the note before it) and a measure is as long as
    the furthest point its notes and forwards reach;
  - it sounds at its written pitch moved by the part's "transpose" in force (chromatic steps
    and octave changes);
  - it lasts its own "duration"; a note a tie ends (a "tie" or "tied" of type "stop") lengthens
    the note of its pitch that ends where it starts, so a tied chain is one note;
  - grace notes, cue notes, rests and unpitched notes are not notes here; repeats are not
    played out (the MIDI file does not play them out either).

Per file, the notes and measures of the source, and for the MIDI file and for the export: the
notes found at their onset and sounding pitch, and of those, the ones of the same duration
(onsets and durations agree within two ticks of 192 to the quarter); the notes the output holds
that the source does not; for the export, the notes written with the source's spelling and the
measures of the first part that start where the source's do with the source's number. The
export's further staff parts of an instrument that repeat its first staff's notes (a tablature
and its notation) are read once.

usage: mx_compare.py TOOL CORPUS_DIR WORK_DIR [FILE...] [--only midi|export] [--list] [--check]
  --list   print the notes each output misses or times otherwise, after its row
  --check  fail (exit status 1) when an output misses a note, times one otherwise, holds one the
           source does not, spells one otherwise or numbers a measure otherwise
"""

import bisect
import collections
import os
import subprocess
import sys
from fractions import Fraction

import mido

# The file and number reading of the tests' reader; the reading of the music is this script's.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "tool"))
from mxscore import number, root_of  # noqa: E402

SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
TOLERANCE = Fraction(2, 768)  # two ticks of 192 to the quarter, in whole notes


class Note:
    __slots__ = ("onset", "pitch", "duration", "spelling")

    def __init__(self, onset, pitch, duration, spelling=None):
        self.onset = onset
        self.pitch = pitch
        self.duration = duration
        self.spelling = spelling  # written step, alteration and octave; none in a MIDI file

    def __repr__(self):
        return f"{self.pitch}@{self.onset}+{self.duration}"


def written_pitch(note):
    """The MIDI key of a note's written pitch; none for a rest, an unpitched note and a microtone,
    which no key plays."""
    pitch = note.find("pitch")
    if pitch is None:
        return None
    step = (pitch.findtext("step") or "").strip()
    alter = number(pitch.findtext("alter"), float, 0.0)
    if step not in SEMITONES or alter != int(alter):
        return None
    return (number(pitch.findtext("octave")) + 1) * 12 + SEMITONES[step] + int(alter)


def spelling_of(note):
    pitch = note.find("pitch")
    return ((pitch.findtext("step") or "").strip(), int(number(pitch.findtext("alter"), float, 0.0)),
            number(pitch.findtext("octave")))


def tie_types(note):
    types = {t.get("type") for t in note.findall("tie")}
    types |= {t.get("type") for t in note.iter("tied")}
    return types


def read_part(part, measures=None):
    """The sounding notes of a "part" element, tied chains joined: a tie's end lengthens the
    latest note of its pitch while a tie of that pitch is open, up to its own end (so a tie that
    skips a note, or ties an arpeggio into a chord, lets the note ring on)."""
    notes = []
    open_ties = collections.Counter()  # pitch -> ties started and not yet ended
    latest = {}  # pitch -> the note of that pitch struck last
    divisions = 1
    transpose = 0
    start = Fraction(0)
    for measure in part.findall("measure"):
        if measures is not None:
            measures.append((start, measure.get("number")))
        position = furthest = onset = Fraction(0)
        for child in measure:
            if child.tag == "attributes":
                divisions = number(child.findtext("divisions"), int, divisions) or divisions
                moved = child.find("transpose")
                if moved is not None:
                    transpose = number(moved.findtext("chromatic")) + 12 * number(moved.findtext("octave-change"))
            elif child.tag in ("backup", "forward"):
                step = Fraction(number(child.findtext("duration")), 4 * divisions)
                position += step if child.tag == "forward" else -step
                position = max(position, Fraction(0))
                furthest = max(furthest, position)
            elif child.tag == "note":
                grace = child.find("grace") is not None
                length = Fraction(number(child.findtext("duration")), 4 * divisions)
                if child.find("chord") is None:
                    onset = position
                    if not grace:
                        position += length
                        furthest = max(furthest, position)
                pitch = written_pitch(child)
                if pitch is None or grace or child.find("cue") is not None or length <= 0:
                    continue
                pitch += transpose
                at = start + onset
                ties = tie_types(child)
                before = latest.get(pitch)
                if "stop" in ties and open_ties[pitch] > 0 and before is not None and before.onset < at:
                    before.duration = max(before.duration, at + length - before.onset)
                    open_ties[pitch] -= 1
                else:
                    latest[pitch] = Note(at, pitch, length, spelling_of(child))
                    notes.append(latest[pitch])
                if "start" in ties:
                    open_ties[pitch] += 1
        start += furthest
    return notes


def read_score(path, one_part_per_instrument=False, measures=None):
    """The notes of every part of a file, and into `measures` the start and number of each
    measure of the first part. With `one_part_per_instrument` the parts of an
    instrument's further staves that hold the same notes as its first ("P1-1" beside "P1-0", as
    the program's export writes a tablature and its notation) are left out."""
    root = root_of(path)
    if root.tag != "score-partwise":
        return []
    notes = []
    firsts = {}
    for index, part in enumerate(root.findall("part")):
        found = read_part(part, measures if index == 0 else None)
        instrument, _, staff = (part.get("id") or "").rpartition("-")
        if one_part_per_instrument and instrument and staff.isdigit():
            shape = sorted((n.onset, n.pitch, n.duration) for n in found)
            if firsts.get(instrument) == shape:
                continue
            firsts.setdefault(instrument, shape)
        notes += found
    return notes


def read_midi(path):
    """The notes of a MIDI file, timed in whole notes."""
    midi = mido.MidiFile(path)
    whole = 4 * midi.ticks_per_beat
    notes = []
    for track in midi.tracks:
        now = 0
        sounding = collections.defaultdict(list)
        for message in track:
            now += message.time
            if message.type == "note_on" and message.velocity > 0:
                sounding[(message.channel, message.note)].append(now)
            elif message.type in ("note_off", "note_on"):
                struck = sounding[(message.channel, message.note)]
                if struck:
                    begin = struck.pop(0)
                    notes.append(Note(Fraction(begin, whole), message.note, Fraction(now - begin, whole)))
    return notes


def compare(source, output):
    """How the notes of an output meet the notes of the source: "found" at their onset and
    pitch, of those "lasting" their duration and "spelled" with the source's step, alteration
    and octave (where both give one); "extra" output notes the source does not hold; and the
    source notes "missing" or "timed" otherwise (with the duration they have)."""
    by_pitch = collections.defaultdict(list)
    for note in output:
        by_pitch[note.pitch].append(note)
    for notes in by_pitch.values():
        notes.sort(key=lambda n: n.onset)
    onsets = {pitch: [n.onset for n in notes] for pitch, notes in by_pitch.items()}
    used = set()
    # Equal durations are paired first, so that two notes of a pitch at one onset pair rightly.
    pairs = {}
    for exact in (True, False):
        for index, note in enumerate(source):
            if index in pairs:
                continue
            candidates = by_pitch.get(note.pitch, [])
            at = bisect.bisect_left(onsets.get(note.pitch, []), note.onset - TOLERANCE)
            for k in range(at, len(candidates)):
                other = candidates[k]
                if other.onset > note.onset + TOLERANCE:
                    break
                if id(other) in used:
                    continue
                if exact and abs(other.duration - note.duration) > TOLERANCE:
                    continue
                used.add(id(other))
                pairs[index] = other
                break
    result = {"found": 0, "lasting": 0, "spelled": 0, "extra": len(output) - len(used), "missing": [],
              "timed": [], "respelled": []}
    for index, note in enumerate(source):
        other = pairs.get(index)
        if other is None:
            result["missing"].append(note)
            continue
        result["found"] += 1
        if abs(other.duration - note.duration) <= TOLERANCE:
            result["lasting"] += 1
        else:
            result["timed"].append((note, other.duration))
        if other.spelling is not None and other.spelling == note.spelling:
            result["spelled"] += 1
        elif other.spelling is not None:
            result["respelled"].append((note, other.spelling))
    return result


def numbered(source, output):
    """Measures of the source's first part whose start the output's first part numbers alike."""
    numbers = dict(output)
    return sum(1 for start, number in source if numbers.get(start) == number)


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=300)


def percent(part, whole):
    return f"{100.0 * part / whole:.1f} %" if whole else "-"


COLUMNS = {"midi": ("found", "lasting", "extra"), "export": ("found", "lasting", "extra", "spelled", "numbered")}
TITLES = {"found": "at onset and pitch", "lasting": "full length", "extra": "extra", "spelled": "spelled alike",
          "numbered": "measures numbered alike"}


def main():
    arguments = sys.argv[1:]
    listing = "--list" in arguments
    checking = "--check" in arguments
    only = None
    if "--only" in arguments:
        at = arguments.index("--only")
        only = arguments[at + 1] if at + 1 < len(arguments) else None
        del arguments[at:at + 2]
    arguments = [a for a in arguments if a not in ("--list", "--check")]
    if len(arguments) < 3:
        print(__doc__)
        return 2
    tool, corpus, work = arguments[:3]
    names = arguments[3:] or sorted(n for n in os.listdir(corpus) if n.endswith((".xml", ".mxl")))
    os.makedirs(work, exist_ok=True)
    outputs = [o for o in ("midi", "export") if only in (None, o)]
    columns = [(o, c) for o in outputs for c in COLUMNS[o]]
    print("| file | notes | measures |" + "".join(f" {o}: {TITLES[c]} |" for o, c in columns))
    print("|---|---|---|" + "---|" * len(columns))
    totals = collections.Counter()
    failed = []
    for name in names:
        path = os.path.join(corpus, name)
        measures = []
        source = read_score(path, measures=measures)
        document = os.path.join(work, name + ".btxml")
        row = f"| {name} | {len(source)} | {len(measures)} |"
        if run(tool, "import", path, document).returncode != 0:
            print(row + " not imported |")
            continue
        totals.update(files=1, notes=len(source), measures=len(measures))
        details = []
        for output in outputs:
            target = os.path.join(work, name + (".mid" if output == "midi" else ".out.xml"))
            command = ("midi", document, target) if output == "midi" else ("export", document, target,
                                                                          "--date", "2000-01-01")
            if run(tool, *command).returncode != 0:
                row += " failed |" * len(COLUMNS[output])
                continue
            written = []
            notes = read_midi(target) if output == "midi" else read_score(target, True, written)
            result = compare(source, notes)
            result["numbered"] = numbered(measures, written)
            for column in COLUMNS[output]:
                totals[(output, column)] += result[column]
                row += f" {result[column]} |"
            whole = {"found": len(source), "lasting": len(source), "extra": 0, "spelled": result["found"],
                     "numbered": len(measures)}
            if any(result[c] != whole[c] for c in COLUMNS[output]):
                failed.append(f"{name} ({output})")
            if listing:
                details += [f"    {output}: missing {n}" for n in result["missing"]]
                details += [f"    {output}: {n} lasts {d}" for n, d in result["timed"]]
                if output == "export":
                    details += [f"    {output}: {n} {n.spelling} written {s}" for n, s in result["respelled"]]
        print(row)
        for line in details:
            print(line)
    row = f"| {totals['files']} files | {totals['notes']} | {totals['measures']} |"
    for output, column in columns:
        whole = totals["measures"] if column == "numbered" else totals["notes"]
        share = "" if column == "extra" else f" ({percent(totals[(output, column)], whole)})"
        row += f" {totals[(output, column)]}{share} |"
    print(row)
    if checking and failed:
        print("\nkept otherwise: " + ", ".join(failed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

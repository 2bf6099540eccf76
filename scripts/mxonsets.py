#!/usr/bin/python3
"""Playback against the score's own timing: each MusicXML file whose import reports no warning is
imported, its section written as a Standard MIDI File, and the note-ons of that file (read with
mido) compared with the onsets the score gives its notes (read with tests/tool/mxscore.py: the
struck notes, a note ending a tie left out, timed by their durations).

Each note of the score is paired with the nearest unpaired note-on of its pitch; one row per
file:

  notes      struck notes of the score / note-ons of the MIDI file
  paired     score notes with a note-on of their pitch
  on time    of those, the ones within a tick of the file's resolution
  late/early the largest difference in milliseconds, at the file's tempo, either way

usage: mxonsets.py TOOL CORPUS_DIR WORK_DIR [FILE...]
"""

import bisect
import collections
import os
import subprocess
import sys
from fractions import Fraction

import mido

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "tool"))
import mxscore  # noqa: E402

# A score note further than this from every note-on of its pitch has none.
WINDOW = Fraction(4)  # quarter notes


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=300)


class TempoMap:
    """Seconds of a tick of a MIDI file, from its tempo changes."""

    def __init__(self, midi):
        changes = {}
        for track in midi.tracks:
            now = 0
            for message in track:
                now += message.time
                if message.type == "set_tempo":
                    changes[now] = message.tempo
        self.ticks = [0]
        self.tempi = [changes.pop(0, 500000)]
        for tick in sorted(changes):
            self.ticks.append(tick)
            self.tempi.append(changes[tick])
        self.resolution = midi.ticks_per_beat

    def seconds(self, tick):
        total = 0.0
        for i, start in enumerate(self.ticks):
            end = self.ticks[i + 1] if i + 1 < len(self.ticks) else None
            if end is not None and tick > end:
                total += (end - start) * self.tempi[i] / 1e6 / self.resolution
            else:
                return total + (float(tick) - start) * self.tempi[i] / 1e6 / self.resolution
        return total


def note_ons(midi):
    """(tick, key) of every note-on of a MIDI file."""
    ons = []
    for track in midi.tracks:
        now = 0
        for message in track:
            now += message.time
            if message.type == "note_on" and message.velocity > 0:
                ons.append((now, message.note))
    return ons


def compare(score, midi):
    tempo = TempoMap(midi)
    quarter = midi.ticks_per_beat
    by_key = collections.defaultdict(list)
    ons = note_ons(midi)
    for tick, key in ons:
        by_key[key].append(tick)
    for ticks in by_key.values():
        ticks.sort()
    used = collections.defaultdict(set)
    notes = [n for part in score.parts for n in part.notes if not n.held]
    paired = on_time = 0
    late = early = 0.0
    for note in sorted(notes, key=lambda n: (n.onset, n.pitch)):
        want = note.onset * 4 * quarter  # ticks, exactly
        ticks = by_key.get(note.pitch, [])
        at = bisect.bisect_left(ticks, want)
        best = None
        for i in range(max(0, at - 8), min(len(ticks), at + 8)):
            if i in used[note.pitch]:
                continue
            if best is None or abs(ticks[i] - want) < abs(ticks[best] - want):
                best = i
        if best is None or abs(ticks[best] - want) > WINDOW * quarter:
            continue
        used[note.pitch].add(best)
        paired += 1
        difference = ticks[best] - want
        on_time += abs(difference) <= 1
        milliseconds = (tempo.seconds(ticks[best]) - tempo.seconds(want)) * 1000
        late = max(late, milliseconds)
        early = max(early, -milliseconds)
    return len(notes), len(ons), paired, on_time, late, early


def main():
    tool, corpus, work = sys.argv[1:4]
    names = sys.argv[4:] or sorted(n for n in os.listdir(corpus) if n.endswith((".xml", ".mxl")))
    os.makedirs(work, exist_ok=True)
    print("| file | notes | paired | on time | late / early (ms) |")
    print("|---|---|---|---|---|")
    totals = collections.Counter()
    skipped = []
    worst = [0.0, 0.0]
    for name in names:
        path = os.path.join(corpus, name)
        document = os.path.join(work, name + ".btxml")
        midi_path = os.path.join(work, name + ".mid")
        imported = run(tool, "import", path, document, "--warnings")
        if imported.returncode != 0 or imported.stderr.strip():
            skipped.append(name)
            continue
        if run(tool, "midi", document, midi_path).returncode != 0:
            print(f"| {name} | no MIDI file | | | |")
            continue
        score = mxscore.read_score(path)
        notes, ons, paired, on_time, late, early = compare(score, mido.MidiFile(midi_path))
        print(f"| {name} | {notes} / {ons} | {paired} | {on_time} | {late:.0f} / {early:.0f} |")
        totals.update(files=1, notes=notes, ons=ons, paired=paired, on_time=on_time)
        worst = [max(worst[0], late), max(worst[1], early)]
    t = totals
    print(f"| {t['files']} files | {t['notes']} / {t['ons']} | {t['paired']} | {t['on_time']} | "
          f"{worst[0]:.0f} / {worst[1]:.0f} |")
    print(f"\n{len(skipped)} files left out, as their import warned: {', '.join(skipped)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

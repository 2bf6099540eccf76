"""A small MusicXML reader of its own (Python's ElementTree and exact fractions), for checking
what the program imports and exports against what a score says.

read_score(path) gives, per "part" element, its notes (onset in whole notes, MIDI pitch with
C4 = 60, whether a tie ends on it, staff, voice) and its measures (start, length, time signature
in force; common time where none is given), timed as MusicXML times them: durations in divisions, "backup" and "forward", chord
notes at the onset of the note before them, grace notes taking no time. Grace and cue notes,
rests and unpitched notes are not listed as notes; cue notes still take their time.
"""

import xml.etree.ElementTree as ET
import zipfile
from fractions import Fraction

SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


class Note:
    __slots__ = ("onset", "pitch", "held", "staff", "voice", "measure")

    def __init__(self, onset, pitch, held, staff, voice, measure):
        self.onset = onset
        self.pitch = pitch
        self.held = held
        self.staff = staff
        self.voice = voice
        self.measure = measure


class Measure:
    __slots__ = ("start", "length", "signature", "implicit")

    def __init__(self, start, length, signature, implicit):
        self.start = start
        self.length = length
        self.signature = signature
        self.implicit = implicit

    def full(self):
        """The measure is as long as its time signature says."""
        return self.signature is not None and self.length == self.signature


class Part:
    def __init__(self, part_id):
        self.id = part_id
        self.notes = []
        self.measures = []


class Score:
    def __init__(self):
        self.parts = []
        self.tempo = None  # quarters per minute of the first "sound" that gives one


def number(text, convert=int, default=0):
    try:
        return convert((text or "").strip())
    except ValueError:
        return default


def root_of(path):
    """The score element of a ".xml" file, or of the root file of a compressed ".mxl" one."""
    if path.endswith(".mxl"):
        with zipfile.ZipFile(path) as archive:
            container = ET.fromstring(archive.read("META-INF/container.xml"))
            inner = container.find(".//rootfile").get("full-path")
            return ET.fromstring(archive.read(inner))
    return ET.parse(path).getroot()


def signature_of(time):
    """Whole notes per measure of a "time" element; None without a measured time."""
    if time.find("senza-misura") is not None:
        return None
    total = Fraction(0)
    for beats, beat_type in zip(time.findall("beats"), time.findall("beat-type")):
        count = sum(number(b) for b in (beats.text or "").split("+"))
        unit = number(beat_type.text)
        if unit <= 0:
            return None
        total += Fraction(count, unit)
    return total if total > 0 else None


def pitch_of(note):
    pitch = note.find("pitch")
    if pitch is None:
        return None
    step = (pitch.findtext("step") or "").strip()
    if step not in SEMITONES:
        return None
    value = (number(pitch.findtext("octave")) + 1) * 12 + SEMITONES[step] + number(pitch.findtext("alter"), float, 0.0)
    return int(value)


def tie_ends(note):
    if any(t.get("type") == "stop" for t in note.findall("tie")):
        return True
    return any(t.get("type") == "stop" for t in note.iter("tied"))


def read_part(element, score):
    part = Part(element.get("id"))
    divisions = 1
    signature = Fraction(1)  # common time until a "time" says otherwise
    start = Fraction(0)
    for index, measure in enumerate(element.findall("measure")):
        position = Fraction(0)
        furthest = Fraction(0)
        onset = Fraction(0)
        for child in measure:
            if child.tag == "attributes":
                divisions = number(child.findtext("divisions"), int, divisions) or divisions
                time = child.find("time")
                if time is not None:
                    signature = signature_of(time)
            elif child.tag == "sound" or child.tag == "direction":
                sound = child if child.tag == "sound" else child.find("sound")
                if sound is not None and sound.get("tempo") and score.tempo is None:
                    score.tempo = number(sound.get("tempo"), float, None)
            elif child.tag in ("backup", "forward"):
                step = Fraction(number(child.findtext("duration")), 4 * divisions)
                position += step if child.tag == "forward" else -step
                furthest = max(furthest, position)
            elif child.tag == "note":
                grace = child.find("grace") is not None
                if child.find("chord") is None:
                    onset = position
                    if not grace:
                        position += Fraction(number(child.findtext("duration")), 4 * divisions)
                        furthest = max(furthest, position)
                pitch = pitch_of(child)
                if pitch is None or grace or child.find("cue") is not None:
                    continue
                part.notes.append(Note(start + onset, pitch, tie_ends(child), number(child.findtext("staff"), int, 1),
                                       (child.findtext("voice") or "1").strip(), index))
        part.measures.append(Measure(start, furthest, signature, measure.get("implicit") == "yes"))
        start += furthest
    return part


def read_score(path):
    root = root_of(path)
    score = Score()
    if root.tag != "score-partwise":
        return score
    for element in root.findall("part"):
        score.parts.append(read_part(element, score))
    return score

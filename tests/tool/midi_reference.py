#!/usr/bin/python3
"""The MIDI checks of the tool test, read with an independent reader (Python's mido).

golden HEXFILE          the golden file of the writer has the expected events
counts OUTDIR FILES...  OUTDIR/<name>.expected: "notes N" for the format 0 and 1 files mido
                        reads (the note-ons of velocity above 0), else "unread"
scale MIDFILE           a C major scale imported and written again keeps its notes
"""
import io
import os
import sys

import mido


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def notes_of(track):
    """(start, key, length, channel) of each note, in ticks."""
    now = 0
    started = {}
    out = []
    for msg in track:
        now += msg.time
        if msg.type == 'note_on' and msg.velocity > 0:
            started[(msg.channel, msg.note)] = now
        elif msg.type in ('note_off', 'note_on'):
            start = started.pop((msg.channel, msg.note))
            out.append((start, msg.note, now - start, msg.channel))
    return sorted(out)


def golden(path):
    text = open(path, encoding='ascii').read()
    hexes = ' '.join(line for line in text.splitlines() if line and not line.startswith('#'))
    mid = mido.MidiFile(file=io.BytesIO(bytes.fromhex(hexes)))
    if mid.type != 1 or mid.ticks_per_beat != 192 or len(mid.tracks) != 3:
        fail(f'header: type {mid.type} division {mid.ticks_per_beat} tracks {len(mid.tracks)}')
    title = [m.text for m in mid.tracks[0] if m.type == 'text']
    if title != ['Title = Air', 'Author = Anon']:
        fail(f'title track: {title}')
    lute = mid.tracks[1]
    metas = {m.type: m for m in lute if m.is_meta}
    if metas['time_signature'].numerator != 4 or metas['time_signature'].denominator != 4:
        fail('time signature')
    if metas['key_signature'].key != 'C' or metas['set_tempo'].tempo != 666666:
        fail('key or tempo')
    programs = [m.program for m in lute if m.type == 'program_change']
    if programs != [24]:
        fail(f'programs {programs}')
    controls = [(m.control, m.value) for m in lute if m.type == 'control_change']
    expected = [(121, 0), (7, 100), (10, 64), (11, 100), (91, 60), (94, 0), (93, 10), (73, 0), (74, 0),
                (99, 0), (98, 0), (6, 125), (96, 122), (97, 120), (123, 0), (121, 0)]
    if controls != expected:
        fail(f'controllers {controls}')
    if notes_of(lute) != [(0, 60, 192, 0), (192, 64, 192, 0), (384, 67, 384, 0)]:
        fail(f'notes {notes_of(lute)}')
    velocities = [m.velocity for m in lute if m.type == 'note_on']
    if velocities != [71, 70, 71]:
        fail(f'velocities {velocities}')
    clicks = notes_of(mid.tracks[2])
    if clicks != [(t, 81, 48, 9) for t in (0, 192, 384, 576)]:
        fail(f'metronome {clicks}')
    print('ok')


def counts(outdir, files):
    for path in files:
        name = os.path.basename(path)
        try:
            mid = mido.MidiFile(path)
            n = sum(1 for t in mid.tracks for m in t if m.type == 'note_on' and m.velocity > 0)
            result = f'notes {n}' if mid.type in (0, 1) else 'unread'
        except Exception:  # mido refuses the file
            result = 'unread'
        with open(os.path.join(outdir, name + '.expected'), 'w', encoding='ascii') as out:
            out.write(result)


def scale(path):
    mid = mido.MidiFile(path)
    if mid.type != 1 or mid.ticks_per_beat != 192 or len(mid.tracks) != 2:
        fail(f'header: type {mid.type} division {mid.ticks_per_beat} tracks {len(mid.tracks)}')
    notes = notes_of(mid.tracks[1])
    expected = [(i * 192, key, 192, 0) for i, key in enumerate([60, 62, 64, 65, 67, 69, 71, 72])]
    if notes != expected:
        fail(f'notes {notes}')
    tempo = [m.tempo for m in mid.tracks[1] if m.type == 'set_tempo']
    if tempo != [500000]:
        fail(f'tempo {tempo}')
    print('ok')


if __name__ == '__main__':
    command = sys.argv[1]
    if command == 'golden':
        golden(sys.argv[2])
    elif command == 'counts':
        counts(sys.argv[2], sys.argv[3:])
    elif command == 'scale':
        scale(sys.argv[2])
    else:
        fail(f'unknown command {command}')

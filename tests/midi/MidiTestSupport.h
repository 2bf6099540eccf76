#pragma once
// Standard MIDI File fixtures written as hex (a header and track bodies, wrapped in their
// chunks with the right lengths), and a small section to play and export.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "support/Bytes.h"

namespace vornel::testing {

// "MThd" 6, then format, track count and division, then each body as an "MTrk" chunk.
inline std::vector<uint8_t> Smf(uint16_t format, uint16_t tracks, uint16_t division,
                                std::initializer_list<std::string> bodies) {
  std::vector<uint8_t> out = HexBytes("4D 54 68 64 00 00 00 06");
  for (uint16_t v : {format, tracks, division}) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
  }
  for (const std::string& body : bodies) {
    const std::vector<uint8_t> b = HexBytes(body);
    const std::vector<uint8_t> head = HexBytes("4D 54 72 6B");
    out.insert(out.end(), head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(b.size() >> shift));
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

// A chord of the given rhythm code (3 a quarter) with a note per pitch on courses 0, 1 ...
inline std::unique_ptr<nChord> Chord(uint16_t rhythm, std::initializer_list<uint8_t> pitches) {
  auto c = std::make_unique<nChord>(0, rhythm);
  uint8_t string = 0;
  for (uint8_t p : pitches) {
    auto n = std::make_unique<nNotes>();
    n->pitch = p;
    n->string = string++;
    c->notes.push_back(std::move(n));
  }
  return c;
}

// "Air" by "Anon" at 90 bpm: a lute plays C and E, a bar line, then G for a half note.
inline void FillAir(CSystemArray& section) {
  section.Title().text = "Air";
  section.Author().text = "Anon";
  section.tempo = 90;
  CInstrumentDlg& lute = *section.Definition(0);
  lute.nameText.text = "Lute";
  lute.midi.patch = 24;
  nChordArray& voice = section.System(0)->Line(0)->Voice(0);
  voice.push_back(Chord(3, {60}));
  voice.push_back(Chord(3, {64}));
  voice.push_back(std::make_unique<nChord>(1));
  voice.push_back(Chord(2, {67}));
}

}  // namespace vornel::testing

#pragma once
// Builders of notes, chords and voices for the model tests, and a short text form of a voice
// that a test can compare in one line.

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "model/voice/nChordArray.h"

namespace vornel::testing {

// The rhythm words of a quarter and an eighth note.
inline constexpr uint16_t kQuarter = 3;
inline constexpr uint16_t kEighth = 4;

// A note of a pitch on a course.
inline std::unique_ptr<nNotes> NoteOn(uint8_t pitch, uint8_t course, uint16_t flags = 0) {
  auto note = std::make_unique<nNotes>();
  note->pitch = pitch;
  note->string = course;
  note->flags = flags;
  return note;
}

// A chord of a rhythm word with notes given as (pitch, course); none makes a rest.
inline std::unique_ptr<nChord> ChordOf(uint16_t rhythm, std::initializer_list<std::pair<uint8_t, uint8_t>> notes = {}) {
  auto chord = std::make_unique<nChord>(nChord::kChord, rhythm);
  for (const auto& [pitch, course] : notes) chord->AddNote(NoteOn(pitch, course));
  return chord;
}

// A chord of a rhythm word whose notes, on courses 0, 1 ... in the order given, carry an
// interval, an ornament, fingerings, a slur and a flag, so that every stored note field shows.
inline std::unique_ptr<nChord> MarkedChord(uint16_t rhythm, std::initializer_list<uint8_t> pitches) {
  auto chord = std::make_unique<nChord>(nChord::kChord, rhythm);
  uint8_t course = 0;
  for (const uint8_t pitch : pitches) {
    auto note = std::make_unique<nNotes>();
    note->pitch = pitch;
    note->string = course++;
    note->interval = static_cast<uint8_t>(pitch / 2);
    note->ornament = 65;
    note->fingering = 0x12;
    note->slur = 0x710;
    note->flags = 0x80;
    chord->AddNote(std::move(note));
  }
  return chord;
}

// Pitches of a chord in list order: "67,60"; "r" for a rest.
inline std::string Pitches(const nChord& chord) {
  if (chord.notes.empty()) return "r";
  std::string text;
  for (const auto& note : chord.notes) {
    if (!text.empty()) text += ',';
    text += std::to_string(note->pitch);
  }
  return text;
}

// A voice as text: a chord is its value code, "." when dotted, then its pitches in brackets
// or "r"; "|" a bar line ("|b" the stave break), "s" a special event, "_" a null entry.
inline std::string VoiceText(const nChordArray& voice) {
  std::string text;
  for (const auto& e : voice) {
    if (!text.empty()) text += ' ';
    if (e == nullptr) {
      text += '_';
    } else if (e->IsStaveBreak()) {
      text += "|b";
    } else if (e->IsBarLine()) {
      text += '|';
    } else if (e->IsSpecialEvent()) {
      text += 's';
    } else {
      text += std::to_string(e->rhythm & 7);
      if (e->rhythm & 8) text += '.';
      if (e->notes.empty()) {
        text += 'r';
      } else {
        text += '(';
        text += Pitches(*e);
        text += ')';
      }
    }
  }
  return text;
}

}  // namespace vornel::testing

// The cursor of a line's active stave and what is entered there: frets and note names typed
// at the keyboard, pitches from the piano keyboard, bourdon frets, alfabeto chords, the note
// at the cursor and its changes, chord splits and the rhythm pattern.

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CKey.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/EntryForms.h"
#include "model/events/MetaEventEditor.h"
#include "model/voice/nNotes.h"
#include "model/instrument/nTuning.h"
#include "platform/UserPrompts.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

constexpr const char* kSpecialEventRefused = "Cannot input notes in special event";
constexpr uint16_t kDotBit = 0x08;

// The fret a typed key names: 'a' open, 'j' counted as 'i', digits their own fret; -1 else.
int FretOfKey(char key) {
  if (key >= '0' && key <= '9') return key - '0';
  if (key >= 'a' && key <= 'z') return key <= 'i' ? key - 'a' : key - 'a' - 1;
  return -1;
}

const CKey& KeyOf(const CInstrumentDlg* definition) {
  static const CKey kPlain;
  return definition != nullptr ? definition->key : kPlain;
}

const CTabInstrument* TabOf(const CInstrumentDlg* definition) {
  return definition != nullptr ? &definition->tabInstrument : nullptr;
}

// The staff pitch of a step in a key, less the key's transposition.
int StaffPitch(const CKey& key, int step) { return key.StepToPitch(step) - key.transpose; }

int Courses(const CTabInstrument& tab) { return static_cast<int>(tab.tuning.CoursesInUse()); }
// The MIDI pitch of an open course.
int OpenMidi(const CTabInstrument& tab, int string) {
  return tab.tuning.courses[static_cast<size_t>(string)].pitch + kCoursePitchOffset;
}

uint8_t PitchByte(int pitch) { return static_cast<uint8_t>(std::clamp(pitch, 0, 127)); }

// Sets a note of `pitch` on course `string`, spelled in the key (a chord without notes loses
// its note position first).
nNotes* SetSpelledNote(nChord& chord, int pitch, int string, const CKey& key) {
  uint16_t name = 0;
  char accidental = 0;
  const int interval = key.SpellPitch(pitch, name, accidental);
  if (chord.notes.empty()) chord.dy = 0;
  nNotes* note = chord.notes.SetNote(PitchByte(pitch), static_cast<uint8_t>(string), static_cast<uint8_t>(interval), true);
  if (note != nullptr) {
    note->interval = static_cast<uint8_t>(interval);
    note->name = name;
  }
  return note;
}

}  // namespace

CInstrument::CursorPlace CInstrument::GetCursor() const {
  const CClef* stave = GetCurrentStave();
  return CursorPlace{stave->cursorColumn, stave->cursorRow};
}

nChord* CInstrument::GetCursorChord(bool create) {
  CClef* stave = GetCurrentStave();
  nChordArray& voice = GetSelectedVoice();
  if (create) {
    // A cursor before the start (a backward bar walk from the first bar) enters at the start.
    if (stave->cursorColumn < 0) stave->cursorColumn = 0;
    return voice.GetOrCreateChord(static_cast<size_t>(stave->cursorColumn));
  }
  if (stave->cursorColumn < 0 || static_cast<size_t>(stave->cursorColumn) >= voice.size()) return nullptr;
  return voice.at(static_cast<size_t>(stave->cursorColumn));
}

nChord* CInstrument::GetChordBeforeCursor() const {
  const int32_t index = GetCurrentStave()->cursorColumn - 1;
  const nChordArray& voice = selectedVoice != 0 ? secondVoice : firstVoice;
  if (index < 0 || static_cast<size_t>(index) >= voice.size()) return nullptr;
  return voice.at(static_cast<size_t>(index));
}

nChord* CInstrument::GetChordTwoBeforeCursor() const {
  const int32_t column = GetCurrentStave()->cursorColumn;
  const int32_t index = column < 1 ? 0 : column - 2;
  const nChordArray& voice = selectedVoice != 0 ? secondVoice : firstVoice;
  if (index < 0 || static_cast<size_t>(index) >= voice.size()) return nullptr;
  return voice.at(static_cast<size_t>(index));
}

int CInstrument::RowToString(int32_t row) const {
  const CTabInstrument* tab = TabOf(definition);
  if (tab != nullptr && tab->tabStyle == CTabInstrument::kSpanish) {
    const int courses = tab->tuning.lines;
    if (row < courses) return courses - row - 1;
  }
  return row;
}

int CInstrument::CursorStepAt(int32_t index) const {
  const CClef* stave = GetCurrentStave();
  const nChordArray& voice = selectedVoice != 0 ? secondVoice : firstVoice;
  if (const CMetaEvent* clef = voice.FindPrecedingClefChange(index)) {
    return stave->GetCursorStepAt(static_cast<int32_t>(clef->value & 0x0F), clef->cx);
  }
  return stave->GetCursorStep();
}

nNotes* CInstrument::FindNote(int32_t index, int32_t row, bool byString) {
  nChordArray& voice = GetSelectedVoice();
  if (index < 0 || static_cast<size_t>(index) >= voice.size()) return nullptr;
  nChord* e = voice.at(static_cast<size_t>(index));
  if (e == nullptr) return nullptr;
  if (GetCurrentStave()->IsTablature()) {
    if (row < 0 || row > 255) return nullptr;
    return byString ? e->notes.NoteOnCourse(static_cast<uint8_t>(row)) : e->notes.NoteWithInterval(static_cast<uint8_t>(row));
  }
  const int step = CursorStepAt(index);
  if (step < 0 || step > 255) return nullptr;
  return e->notes.NoteWithInterval(static_cast<uint8_t>(step));
}

nNotes* CInstrument::GetCursorNote() {
  const CClef* stave = GetCurrentStave();
  const int32_t row = stave->IsTablature() ? RowToString(stave->cursorRow) : stave->cursorRow;
  return FindNote(stave->cursorColumn, row, stave->IsTablature());
}

std::string CInstrument::GetCursorNoteLetter() {
  const CClef* stave = GetCurrentStave();
  if (stave->IsTablature()) {
    const CTabInstrument* tab = TabOf(definition);
    const int string = RowToString(stave->cursorRow);
    if (tab == nullptr || string < 0 || string >= Courses(*tab)) return {};
    std::string name = tab->GetStringNoteName(string);
    name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
    return name;
  }
  static constexpr std::string_view kLetters = "cdefgabCDEFGAB";
  const int step = CursorStepAt(stave->cursorColumn);
  const int at = ((step % 7) + 7) % 7;
  return std::string(1, kLetters[static_cast<size_t>(at)]);
}

void CInstrument::MoveCursorToNextChord() {
  CClef* stave = GetCurrentStave();
  const nChordArray& voice = GetSelectedVoice();
  for (size_t i = static_cast<size_t>(std::max(stave->cursorColumn, 0)); i < voice.size(); ++i) {
    const nChord* e = voice.at(i);
    if (e != nullptr && e->IsChord()) {
      stave->cursorColumn = static_cast<int32_t>(i);
      return;
    }
  }
}

void CInstrument::MoveCursorToPreviousChord() {
  CClef* stave = GetCurrentStave();
  const nChordArray& voice = GetSelectedVoice();
  if (voice.empty()) return;
  const int last = static_cast<int>(voice.size()) - 1;
  for (int i = std::min(stave->cursorColumn, last); i >= 0; --i) {
    const nChord* e = voice.at(static_cast<size_t>(i));
    if (e != nullptr && e->IsChord()) {
      stave->cursorColumn = i;
      return;
    }
  }
}

bool CInstrument::MoveCursorToAdjacentBar(bool backward) {
  CClef* stave = GetCurrentStave();
  const nChordArray& voice = GetSelectedVoice();
  int position = stave->cursorColumn;
  bool ran = false;
  if (!backward) {
    ran = voice.SkipToNextBar(position);
  } else if (position < static_cast<int>(voice.size())) {
    ran = voice.PrevBarLine(position);
  } else {
    ran = true;
  }
  stave->cursorColumn = position - 1;
  return !ran;
}

nChord* CInstrument::InputKeyAtCursor(char key, uint16_t rhythmWord, bool clear) {
  if ((key == '+' || key == '-') && MoveCursorNoteToAdjacentString(key) != 0) return GetCursorChord();
  const bool digit = key >= '0' && key <= '9';
  if (!digit && !(key >= 'a' && key <= 'z')) return nullptr;
  CClef* stave = GetCurrentStave();
  nChord* chord = GetCursorChord(true);
  if (chord->IsBarLine()) {
    ++stave->cursorColumn;
    chord = GetCursorChord(true);
  }
  if (chord->IsGhost()) chord->ToggleGhost();
  if (chord->status == nChord::kBarLine && key != '-') chord->status = nChord::kChord;
  if (!chord->IsChord()) {
    Prompts().ShowMessage(kSpecialEventRefused);
    lastEnteredNote = nullptr;
    return nullptr;
  }
  const CKey& k = KeyOf(definition);
  const CTabInstrument* tab = TabOf(definition);
  int pitch = -1;
  int string = -1;
  int interval = 0;
  uint16_t name = 0;
  char accidental = 0;
  if (stave->IsTablature()) {
    string = RowToString(stave->cursorRow);
    const int fret = FretOfKey(key);
    if (tab != nullptr && string >= 0 && string < Courses(*tab) && fret >= 0) {
      pitch = OpenMidi(*tab, string) + fret;
      if (pitch > 127) pitch = -1;
    }
    if (pitch >= 0) interval = k.SpellPitch(pitch, name, accidental);
  } else {
    interval = CursorStepAt(stave->cursorColumn);
    if (key == 'x') {
      pitch = CKey().StepToPitch(interval) - k.transpose;
    } else {
      pitch = StaffPitch(k, interval);
      if (key == 'd') key = 's';
      if (key == 'f') key = 'b';
      if (key == 's') ++pitch;
      if (key == 'b') --pitch;
    }
    if (interval < 0 || interval > 255 || pitch < 1 || pitch > 127) {
      pitch = -1;
    } else if (tab != nullptr) {
      string = tab->FindStringForPitch(pitch - kCoursePitchOffset, -1);
    }
    if (string < 0) string = nNotes::kNoCourse;
  }
  if (pitch < 0 || string < 0) {
    lastEnteredNote = nullptr;
    return nullptr;
  }
  if (clear) chord->notes.DeleteAll();
  if (chord->notes.empty()) chord->dy = 0;
  const bool byCourse = stave->IsTablature();
  nNotes* note = chord->notes.SetNote(PitchByte(pitch), static_cast<uint8_t>(string), static_cast<uint8_t>(interval), byCourse);
  lastEnteredNote = note;
  if (note != nullptr) {
    note->interval = static_cast<uint8_t>(interval);
    note->string = static_cast<uint8_t>(string);
    if ((key == 's' || key == 'b') && k.NeedsRespelling(pitch, interval, key == 's' ? '#' : '&') != 0) {
      note->status ^= 0x4;
    }
  }
  chord->rhythm = static_cast<uint16_t>((chord->rhythm & kDotBit) | rhythmWord);
  if (stave->cursorColumn == stave->columnCount) ++stave->columnCount;
  return chord;
}

nChord* CInstrument::InputPitch(int pitch, uint16_t rhythmWord) {
  const CTabInstrument* tab = TabOf(definition);
  if (tab == nullptr || pitch < 1 || pitch > 127) return nullptr;
  nChord* chord = GetCursorChord(true);
  // Bar lines and special events take no notes.
  if (!chord->IsChord()) {
    Prompts().ShowMessage(kSpecialEventRefused);
    return nullptr;
  }
  if (chord->IsGhost()) chord->ToggleGhost();
  const int string = tab->FindStringForPitch(pitch - kCoursePitchOffset, -1);
  if (string < 0) return nullptr;
  SetSpelledNote(*chord, pitch, string, KeyOf(definition));
  chord->rhythm = rhythmWord;
  lastPitch = pitch;
  return chord;
}

nChord* CInstrument::EnterFretAtCursor(char key, int bourdon, uint16_t rhythmWord, bool clear) {
  const CTabInstrument* tab = TabOf(definition);
  const int fretted = tab != nullptr ? tab->tuning.lines : 0;
  // What is entered is checked first, so that a refused fret leaves the voice as it was.
  const int fret = FretOfKey(key);
  const int string = fretted + bourdon;
  const bool enters = bourdon != 8;
  if (enters && (fret < 0 || tab == nullptr || bourdon < 0 || bourdon > 7 || string >= Courses(*tab) ||
                 OpenMidi(*tab, string) + fret > 127)) {
    return nullptr;
  }
  if (const nChord* there = GetCursorChord(); there != nullptr && !there->IsChord()) return nullptr;
  nChord* chord = GetCursorChord(true);
  if (clear) {
    chord->notes.DeleteAll();
  } else {
    for (size_t i = chord->notes.size(); i-- > 0;) {
      const nNotes* n = chord->notes.at(i);
      if (n != nullptr && n->string >= fretted) chord->notes.erase(i);
    }
  }
  if (!enters) return chord;
  const int pitch = OpenMidi(*tab, string) + fret;
  SetSpelledNote(*chord, pitch, string, KeyOf(definition));
  chord->rhythm = static_cast<uint16_t>((chord->rhythm & kDotBit) | rhythmWord);
  return chord;
}

int CInstrument::DeleteNoteAtCursor() {
  nChord* chord = GetCursorChord();
  if (chord == nullptr) return 0;
  const CClef* stave = GetCurrentStave();
  if (stave->IsTablature()) {
    const int string = RowToString(stave->cursorRow);
    if (string < 0 || string > 255) return 0;
    int index = -1;
    if (nNotes* note = chord->notes.NoteOnCourse(static_cast<uint8_t>(string), &index)) {
      chord->metaEvents.RemoveNoteEvents(*note);
      chord->notes.erase(static_cast<size_t>(index));
    }
    return 1;
  }
  const int pitch = StaffPitch(KeyOf(definition), CursorStepAt(stave->cursorColumn));
  return chord->notes.RemoveNoteNearPitch(pitch) ? 1 : 0;
}

nChord* CInstrument::MoveCursorNoteVertically(int keyCode) {
  nChord* chord = GetCursorChord();
  if (chord == nullptr) return nullptr;
  const bool up = keyCode == 38;
  CClef* stave = GetCurrentStave();
  if (stave->IsTablature()) {
    MoveCursorNoteToAdjacentString(up ? '+' : '-');
    return chord;
  }
  if (chord->notes.empty()) {
    chord->dy = static_cast<uint16_t>(chord->dy + (up ? 1 : -1));
    return chord;
  }
  nNotes* note = GetCursorNote();
  if (note == nullptr) return nullptr;
  const CClef::StepRange range = stave->GetStepRange();
  if (up ? note->interval == range.high - 1 : note->interval == range.low + 1) return nullptr;
  const int interval = note->interval + (up ? 1 : -1);
  if (interval < 0 || interval > 255) return nullptr;
  const int pitch = StaffPitch(KeyOf(definition), interval);
  if (pitch < 1 || pitch > 127) return nullptr;
  note->interval = static_cast<uint8_t>(interval);
  note->pitch = static_cast<uint8_t>(pitch);
  if (const CTabInstrument* tab = TabOf(definition)) {
    const int string = tab->FindStringForPitch(pitch - kCoursePitchOffset, -1);
    note->string = string < 0 ? nNotes::kNoCourse : static_cast<uint8_t>(string);
  }
  return chord;
}

int CInstrument::MoveCursorNoteToAdjacentString(char sign) {
  if (!GetCurrentStave()->IsTablature()) return 0;
  nNotes* note = GetCursorNote();
  const CTabInstrument* tab = TabOf(definition);
  if (note == nullptr || tab == nullptr) return 0;
  // '+' goes towards the lower course index.
  nChordArray::MoveNoteToAdjacentString(*note, sign == '+' ? 1 : -1, *tab);
  GetCursorChord()->notes.SortByCourse();
  return 1;
}

int CInstrument::ModifyCursorNote(int code) {
  nNotes* note = GetCursorNote();
  if (note == nullptr) return 0;
  nChord* chord = GetCursorChord();
  const CClef* stave = GetCurrentStave();
  if (code == 6) {
    // The fret as a text event of kind 12, edited in place.
    CMetaEvent* event = chord->metaEvents.Find(CMetaEvent::kEnding);
    if (event == nullptr || (event->cy != 5 && event->cy != 4)) {
      const CTabInstrument* tab = TabOf(definition);
      const int fret = tab != nullptr && note->string < Courses(*tab) ? note->pitch - OpenMidi(*tab, note->string) : 0;
      event = chord->metaEvents.SetMetaEvent(CMetaEvent::kEnding, FormatInt(fret), 0x40200, 1, 4);
    }
    if (event == nullptr || !MetaEventEditors().RunEditor(*event, stave->IsTablature() ? 1 : 0)) {
      chord->metaEvents.RemoveKind(CMetaEvent::kEnding);
      return 0;
    }
    return 1;
  }
  if (code == 61) {
    CMetaEvent* event = nullptr;
    for (const auto& m : chord->metaEvents) {
      if (m != nullptr && m->kind == CMetaEvent::kFloatingOrnament && m->value == note->string) event = m.get();
    }
    const bool tablature = stave->IsTablature();
    const int32_t current = event == nullptr ? 0 : (tablature ? event->cx : event->cy);
    const std::optional<int32_t> symbol = EntryFormsInForce().ChooseSymbol(current, tablature);
    if (!symbol) return 0;
    if (event == nullptr) {
      event = chord->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kFloatingOrnament, "", note->string, 0, 0));
    }
    if (event == nullptr) return 0;
    (tablature ? event->cx : event->cy) = *symbol == ' ' ? 0 : *symbol;
    if (event->cx == 0 && event->cy == 0) chord->metaEvents.RemoveKind(CMetaEvent::kFloatingOrnament);
    note->ornament = static_cast<uint16_t>(note->ornament | 0x80);
    return 1;
  }
  note->ToggleDecoration(code);
  return 1;
}

int CInstrument::SwitchCursorNoteToOtherVoice() {
  nChord* chord = GetCursorChord();
  nNotes* note = GetCursorNote();
  if (chord == nullptr || note == nullptr) return 0;
  nChordArray& other = selectedVoice != 0 ? firstVoice : secondVoice;
  for (size_t i = 0; i < other.size(); ++i) {
    nChord* e = other.at(i);
    if (e == nullptr || !e->IsChord() || e->delta < chord->delta) continue;
    if (e->delta != chord->delta) return 0;
    if (e->notes.empty()) e->dy = 0;
    nNotes* copy = e->notes.SetNote(note->pitch, note->string, note->interval, GetCurrentStave()->IsTablature());
    if (copy == nullptr) return 0;
    copy->interval = note->interval;
    copy->string = note->string;
    for (size_t k = 0; k < chord->notes.size(); ++k) {
      if (chord->notes.at(k) == note) {
        chord->metaEvents.RemoveNoteEvents(*note);
        chord->notes.erase(k);
        break;
      }
    }
    return 1;
  }
  return 0;
}

int CInstrument::SplitCursorChord(bool noTie) {
  nChord* chord = GetCursorChord();
  if (chord == nullptr) return 0;
  nChordArray& voice = GetSelectedVoice();
  const size_t index = static_cast<size_t>(GetCurrentStave()->cursorColumn);
  if (chord->IsMultiBarRest()) {
    const CMetaEvent* pause = chord->metaEvents.Find(CMetaEvent::kBarPause);
    if (pause == nullptr) return 1;
    const uint32_t count = pause->value & 0x0F;
    const uint32_t value = (pause->value >> 4) & 0x0F;
    const uint16_t code = value <= 1 ? 1 : static_cast<uint16_t>(1 + static_cast<int>(std::floor(std::log2(value))));
    voice.erase(index);
    for (uint32_t i = 0; i < count; ++i) voice.insert(index, std::make_unique<nChord>(nChord::kChord, code));
    return 1;
  }
  auto copy = std::make_unique<nChord>(*chord);
  if ((chord->rhythm & kDotBit) != 0) {
    chord->rhythm &= 0x00F7;
    copy->rhythm = static_cast<uint16_t>(chord->rhythm + 1);
  } else {
    // Never past the shortest value.
    if ((chord->rhythm & 7) < 7) ++chord->rhythm;
    copy->rhythm = chord->rhythm;
  }
  if (!noTie) {
    for (const auto& n : copy->notes) {
      if (n != nullptr) n->slur = 2048;
    }
  }
  voice.insert(index + 1, std::move(copy));
  return 1;
}

nChord* CInstrument::InsertAlfabetoChordAtCursor(char letter, uint16_t rhythmWord) {
  if (definition == nullptr) return nullptr;
  const nChord* shape = definition->tabInstrument.alfabeto.FindChordByLetter(static_cast<char16_t>(letter));
  if (shape == nullptr) return nullptr;
  auto chord = std::make_unique<nChord>(*shape);
  for (const auto& n : chord->notes) {
    if (n == nullptr) continue;
    uint16_t name = 0;
    char accidental = 0;
    n->interval = static_cast<uint8_t>(definition->key.SpellPitch(n->pitch, name, accidental));
    n->name = name;
  }
  chord->rhythm = static_cast<uint16_t>(rhythmWord & 0xFF);
  CClef* stave = GetCurrentStave();
  if (stave->cursorColumn < 0) stave->cursorColumn = 0;
  nChordArray& voice = GetSelectedVoice();
  const size_t at = std::min(static_cast<size_t>(stave->cursorColumn), voice.size());
  return voice.insert(at, std::move(chord));
}

int CInstrument::SetCursorChordAlfabetoEvent(int letterIndex) {
  nChord* chord = GetCursorChord();
  if (chord == nullptr || definition == nullptr || letterIndex < 0 || letterIndex > 25) return 0;
  const nChord* shape =
      definition->tabInstrument.alfabeto.FindChordByLetter(static_cast<char16_t>(u'A' + letterIndex));
  if (shape == nullptr) return 0;
  chord->metaEvents.RemoveKind(3);
  chord->metaEvents.push_back(std::make_unique<CMetaEvent>(3, shape->name, static_cast<uint32_t>(letterIndex), 0, 0));
  return 1;
}

CInstrument* CInstrument::GenerateRhythmPattern() {
  const RhythmPattern& p = rhythmPattern;
  if (p.bars < 0) return nullptr;
  const int c = (p.flags & 7) + 1;
  const int d = p.denominatorCode + 1;
  int n = p.chordsPerBar;
  if (d < c) {
    n /= c - d + 1;
  } else if (d > c) {
    n <<= std::min(d - c, 16);
  }
  const uint16_t chordFlags = static_cast<uint16_t>(c | (p.flags & kDotBit) | (p.flags & 0xF0));
  nChordArray& voice = GetSelectedVoice();
  voice.DeleteChords();
  CClef* stave = GetCurrentStave();
  stave->cursorColumn = 0;
  stave->cursorRow = 2;
  const CKey& key = KeyOf(definition);
  const CTabInstrument* tab = TabOf(definition);
  for (int32_t bar = 0; bar < p.bars; ++bar) {
    for (int k = 0; k < n; ++k) {
      nChord* chord = voice.GetOrCreateChord(static_cast<size_t>(stave->cursorColumn));
      if (chord->IsBarLine()) {
        ++stave->cursorColumn;
        chord = voice.GetOrCreateChord(static_cast<size_t>(stave->cursorColumn));
      }
      if (!chord->IsChord()) {
        Prompts().ShowMessage(kSpecialEventRefused);
        if ((p.options & 4) != 0) chord->notes.DeleteAll();
      } else {
        int pitch = -1;
        int string = -1;
        if (stave->IsTablature()) {
          string = RowToString(stave->cursorRow);
          if (tab != nullptr && string >= 0 && string < Courses(*tab)) {
            pitch = OpenMidi(*tab, string);
          } else {
            string = -1;
          }
        } else {
          pitch = StaffPitch(key, CursorStepAt(stave->cursorColumn));
          if (tab != nullptr && pitch > 0 && pitch < 128) string = tab->FindStringForPitch(pitch - kCoursePitchOffset, -1);
        }
        if (string >= 0 && pitch > 0 && pitch < 128) {
          uint16_t name = 0;
          char accidental = 0;
          const int interval = key.SpellPitch(pitch, name, accidental);
          chord->notes.DeleteAll();
          if (nNotes* note = chord->notes.SetNote(static_cast<uint8_t>(pitch), static_cast<uint8_t>(string),
                                                 static_cast<uint8_t>(interval), true)) {
            note->interval = static_cast<uint8_t>(interval);
            note->name = name;
          }
          chord->rhythm = chordFlags;
          lastPitch = pitch;
        } else {
          chord->rhythm = chordFlags;
        }
      }
      ++stave->cursorColumn;
    }
    voice.push_back(std::make_unique<nChord>(static_cast<uint16_t>(17)));
    stave->cursorColumn = static_cast<int32_t>(voice.size());
  }
  const int32_t denominator = 1 << std::clamp(d - 1, 0, 6);
  if ((p.options & 1) != 0) InsertInitialTimeSignature(n, denominator);
  voice.RebarVoice(std::max(n, 1), denominator);
  return this;
}

}  // namespace vornel

#pragma once
// The tuning dialogs as plain structs of their fields, with their checks and their exchange
// with a tuning: "Instrument tuning" (typed and preset tuning texts, one string at a time),
// "String pitch" (one string's note and MIDI value) and "Modify string tuning" (a new pitch
// for one course). The windows that show them and the sound of "Play" belong to higher
// layers.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/instrument/nTuning.h"

namespace vornel {

// A "Standard tunings" button: its label, its tuning text and its tablature lines.
struct TuningPreset {
  std::string_view label;
  std::string_view text;
  int lines;
};

inline constexpr std::array<TuningPreset, 6> kTuningPresets = {{
    {"Guitar", "EBGDAE", 6},
    {"Lute in G", "GDAFCGFEDCBbAGF", 6},
    {"Baroque lute", "FDAFDAGFEDCBA", 6},
    {"Theorbo", "A-1E-1BGDAGFEDCBAGFE", 6},
    {"Mandolin", "E+1A+1DG", 4},
    {"Gamba", "DAECGD", 6},
}};

// "Instrument tuning": edits a working copy of a tuning; the caller takes it back on OK.
struct InstrumentTuningDlg {
  static constexpr int kMinLines = 3;
  static constexpr int kMaxLines = 12;
  static constexpr int kMinTempo = 10;
  static constexpr int kMaxTempo = 300;
  static constexpr int kPlayProgram = 25;

  nTuning tuning;
  std::array<std::string, nTuning::kMaxCourses> stringTexts;
  std::string tuningText;
  int lines = 6;
  int tempo = 60;
  bool reverseDirection = false;
  bool lowPitch = false;  // "415 tuning (1/2 step down)"

  // Copies the tuning in and shows it.
  void Load(const nTuning& source);
  // The string texts and the tuning text from the working tuning.
  void Refresh();
  // "Modify": the typed tuning text becomes the tuning.
  void ApplyTuningText();
  // A "Standard tunings" button: its text and lines, applied.
  void ApplyPreset(size_t index);
  // The result of the "String pitch" dialog on string `index` (0-based; one past the last adds
  // a string). False, with nothing changed, for another index or an empty note text.
  bool SetString(int index, std::string_view noteText, int midiPitch);
  // The note text a string button hands to the "String pitch" dialog ("G5 ", "F4#").
  std::string NoteTextOf(int index) const;
  // Empty when every field is in range, else the message.
  std::string Validate() const;
  // OK: the lines (kept to the strings there are) and the strings into `target`.
  void Store(nTuning& target) const;
};

// "String pitch": one string's note (letter, octave, accidental) and its MIDI value.
struct CStringTuningDlg {
  static constexpr std::array<char, 7> kLetters = {'A', 'B', 'C', 'D', 'E', 'F', 'G'};
  static constexpr int kMaxMidiValue = 124;
  static constexpr int kMinOctaveSpin = 2;
  static constexpr int kMaxOctave = 9;  // one digit of the note text

  int midiValue = 60;
  int letterIndex = 0;  // 0-6 for A-G, -1 for no note ("Clear")
  int octave = 0;
  int accidental = 0;  // 0 natural, 1 sharp, 2 flat
  int stringNumber = 0;
  std::string noteText;

  // From the caller's note text ("" opens as C2 natural) and the string's number.
  void Load(std::string_view text, int string);
  std::string Caption() const;
  // The MIDI value of the note; left as it was without a note.
  void ComputeMidiValue();
  // "%c%c%c": letter, octave digit, blank/'#'/'b'; empty without a note. Stored as the note
  // text.
  std::string GetNoteText();
  std::string Validate() const;
};

// "Modify string tuning": a new pitch for one course of a tuning.
struct CBourdonTuningDlg {
  static constexpr int kMinPitch = 8;
  static constexpr int kMaxPitch = 127;

  std::vector<std::string> courses;  // "%d: %s" per course
  int courseIndex = -1;
  int newPitch = 60;
  std::string noteText;
  bool applyToAll = false;

  // Lists the courses and selects the first.
  void Load(const nTuning& tuning);
  // Another course: its pitch becomes the new pitch.
  void SelectCourse(const nTuning& tuning, int index);
  // The edited pitch's note text.
  void SetPitch(int pitch);
  std::string Validate() const;
};

// "%s%d": the note name (sharps for C# and F#, flats otherwise) and pitch / 12 ("C5" for 60).
std::string NoteNameWithOctave(int midiPitch);

}  // namespace vornel

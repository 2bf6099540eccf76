#include "model/dialogs/TuningDialogs.h"

#include <algorithm>

#include "platform/text/FieldRanges.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

// Semitones of the letters A-G above C.
constexpr std::array<int, 7> kLetterSemitones = {9, 11, 0, 2, 4, 5, 7};

}  // namespace

std::string NoteNameWithOctave(int midiPitch) {
  std::string name = GetPitchName(midiPitch);
  std::erase(name, ' ');
  return name;
}

// --- InstrumentTuningDlg

void InstrumentTuningDlg::Load(const nTuning& source) {
  tuning = nTuning{};
  tuning.CopyFrom(source);
  lines = tuning.lines;
  Refresh();
}

void InstrumentTuningDlg::Refresh() {
  for (size_t i = 0; i < stringTexts.size(); ++i) stringTexts[i] = tuning.FormatStringWithPitch(static_cast<int>(i));
  tuningText = tuning.GetTuningText();
}

void InstrumentTuningDlg::ApplyTuningText() {
  tuning.lines = lines;
  tuning.SetTuning(tuningText);
  lines = tuning.lines;
  Refresh();
}

void InstrumentTuningDlg::ApplyPreset(size_t index) {
  if (index >= kTuningPresets.size()) return;
  tuningText = kTuningPresets[index].text;
  lines = kTuningPresets[index].lines;
  ApplyTuningText();
}

bool InstrumentTuningDlg::SetString(int index, std::string_view noteText, int midiPitch) {
  if (noteText.empty() || !tuning.SetString(index, noteText, midiPitch)) return false;
  Refresh();
  return true;
}

std::string InstrumentTuningDlg::NoteTextOf(int index) const {
  if (index < 0 || index >= static_cast<int>(tuning.CoursesInUse())) return {};
  const CourseRecord& course = tuning.courses[static_cast<size_t>(index)];
  if (course.letter == 0) return {};
  std::string text(1, course.letter);
  text += static_cast<char>('0' + std::min<int>(course.octave, 9));
  text += course.accidental == '#' || course.accidental == 'b' ? course.accidental : ' ';
  return text;
}

std::string InstrumentTuningDlg::Validate() const {
  return CheckFieldRanges({{"Number of tablature lines:", lines, kMinLines, kMaxLines},
                           {"Tempo:", tempo, kMinTempo, kMaxTempo}});
}

void InstrumentTuningDlg::Store(nTuning& target) const {
  target.CopyFrom(tuning);
  target.lines = lines;
  target.stringCount = target.CountStrings();
}

// --- CStringTuningDlg

void CStringTuningDlg::Load(std::string_view text, int string) {
  midiValue = 60;
  stringNumber = string;
  noteText = text.empty() ? std::string("C2 ") : std::string(text);
  const char letter = noteText[0];
  letterIndex = letter >= 'A' && letter <= 'G' ? letter - 'A' : -1;
  if (noteText.size() > 1 && noteText[1] >= '0' && noteText[1] <= '9') octave = noteText[1] - '0';
  const char sign = noteText.size() > 2 ? noteText[2] : ' ';
  if (sign == ' ') accidental = 0;
  if (sign == '#') accidental = 1;
  if (sign == 'b') accidental = 2;
  ComputeMidiValue();
}

std::string CStringTuningDlg::Caption() const { return "String tuning editor: string " + FormatInt(stringNumber); }

void CStringTuningDlg::ComputeMidiValue() {
  if (letterIndex < 0 || letterIndex >= static_cast<int>(kLetters.size())) return;
  midiValue = kLetterSemitones[static_cast<size_t>(letterIndex)] + 12 * octave;
  if (accidental == 1) ++midiValue;
  if (accidental == 2) --midiValue;
}

std::string CStringTuningDlg::GetNoteText() {
  if (letterIndex < 0 || letterIndex >= static_cast<int>(kLetters.size())) {
    noteText.clear();
    return noteText;
  }
  noteText = {kLetters[static_cast<size_t>(letterIndex)], static_cast<char>('0' + std::clamp(octave, 0, 9)),
              accidental == 1 ? '#' : accidental == 2 ? 'b' : ' '};
  return noteText;
}

std::string CStringTuningDlg::Validate() const {
  // A second digit would not fit the note text: the octave stops at 9.
  return CheckFieldRanges({{"MIDI value", midiValue, 0, kMaxMidiValue}, {"Octave", octave, 0, kMaxOctave}});
}

// --- CBourdonTuningDlg

void CBourdonTuningDlg::Load(const nTuning& tuning) {
  courses.clear();
  for (size_t i = 0; i < tuning.CoursesInUse(); ++i) {
    courses.push_back(FormatInt(static_cast<int32_t>(i) + 1) + ": " + tuning.FormatStringWithPitch(static_cast<int>(i)));
  }
  courseIndex = -1;
  if (!courses.empty()) SelectCourse(tuning, 0);
}

void CBourdonTuningDlg::SelectCourse(const nTuning& tuning, int index) {
  if (index < 0 || index >= static_cast<int>(tuning.CoursesInUse())) return;
  courseIndex = index;
  SetPitch(tuning.courses[static_cast<size_t>(index)].pitch + kCoursePitchOffset);
}

void CBourdonTuningDlg::SetPitch(int pitch) {
  newPitch = pitch;
  noteText = NoteNameWithOctave(pitch);
}

std::string CBourdonTuningDlg::Validate() const {
  if (courseIndex < 0 || courseIndex >= static_cast<int>(courses.size())) return "Please select a course.";
  return CheckFieldRanges({{"New tuning", newPitch, kMinPitch, kMaxPitch}});
}

}  // namespace vornel

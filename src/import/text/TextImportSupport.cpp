#include "import/text/TextImportSupport.h"

#include <algorithm>
#include <array>
#include <bit>
#include <filesystem>
#include <system_error>

#include "document/CBriotabDoc.h"
#include "model/instrument/CKey.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"

namespace vornel {

std::optional<std::string> ReadImportFile(const std::string& path, std::string* error) {
  return ReadFileText(path, kMaxImportFileBytes, error);
}

std::optional<std::string> OpenImportFile(const std::string& path, std::string_view failureMessage) {
  std::string error;
  std::optional<std::string> bytes = ReadImportFile(path, &error);
  if (!bytes) Prompts().ShowMessage(std::string(failureMessage) + path + ":\n" + error, MessageKind::kWarning);
  return bytes;
}

std::optional<std::string_view> LineReader::Next(size_t bufferSize) {
  if (pos_ >= bytes_.size() || bufferSize < 2) return std::nullopt;
  const size_t limit = std::min(bytes_.size() - pos_, bufferSize - 1);
  const size_t feed = bytes_.substr(pos_, limit).find('\n');
  const size_t length = feed == std::string_view::npos ? limit : feed + 1;
  const std::string_view line = bytes_.substr(pos_, length);
  pos_ += length;
  return line;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsLineOf(std::string_view line, std::string_view text) {
  return HasLineEnd(line) && WithoutLineEnd(line) == text;
}

int FloorLog2(uint64_t value) { return value <= 1 ? 0 : std::bit_width(value) - 1; }

int ClampRhythmCode(int64_t code) { return static_cast<int>(std::clamp<int64_t>(code, 0, 7)); }

uint16_t ShiftRhythmCode(uint16_t flags, int steps) {
  return static_cast<uint16_t>((flags & ~7u) | static_cast<uint16_t>(ClampRhythmCode((flags & 7) + steps)));
}

bool IsAcceptedTimeSignature(int64_t numerator, int64_t denominator) {
  return numerator >= 1 && numerator <= 64 && denominator >= 1 && denominator <= 64 &&
         std::has_single_bit(static_cast<uint64_t>(denominator));
}

int FretOfLetter(char c) {
  if (c >= 'a' && c <= 'i') return c - 'a';
  if (c > 'i' && c <= 'z') return c - 'b';
  return -1;
}

bool EnsureCourses(CTabInstrument& instrument, size_t count) {
  nTuning& tuning = instrument.tuning;
  size_t have = tuning.CoursesInUse();
  if (have >= count) return true;
  if (have == 0 || count > nTuning::kMaxCourses) return false;
  // Semitones of the natural notes in an octave.
  constexpr std::array<bool, 12> kNatural = {true,  false, true,  false, true,  true,
                                             false, true,  false, true,  false, true};
  int pitch = tuning.courses[have - 1].pitch + kCoursePitchOffset;
  std::vector<int> added;
  for (; have + added.size() < count; added.push_back(pitch)) {
    do {
      --pitch;
    } while (pitch > 0 && !kNatural[static_cast<size_t>(pitch % 12)]);
    if (pitch <= kCoursePitchOffset) return false;
  }
  for (const int course : added) {
    const int index = static_cast<int>(have++);
    tuning.SetString(index, {}, course);  // adds the course
    tuning.SetCoursePitch(index, course);  // and spells it
  }
  instrument.tuningText = tuning.GetTuningText();
  return true;
}

nNotes* SetNoteOnCourse(nChord& chord, const CTabInstrument& instrument, int course, int64_t midiPitch,
                        const CKey& key) {
  if (course < 0 || static_cast<size_t>(course) >= instrument.tuning.CoursesInUse()) return nullptr;
  if (midiPitch < 1 || midiPitch > 127) return nullptr;
  uint16_t name = 0;
  char accidental = 0;
  const int step = key.SpellPitch(static_cast<int>(midiPitch), name, accidental);
  nNotes* note = chord.notes.SetNote(static_cast<uint8_t>(midiPitch), static_cast<uint8_t>(course),
                                     static_cast<uint8_t>(std::clamp(step, 0, 255)), true);
  if (note != nullptr) note->name = name;
  return note;
}

nNotes* SetFretOnCourse(nChord& chord, const CTabInstrument& instrument, int course, int64_t fret,
                        const CKey& key) {
  if (course < 0 || static_cast<size_t>(course) >= instrument.tuning.CoursesInUse() || fret < 0 || fret > 127) {
    return nullptr;
  }
  const int pitchByte = instrument.GetPitchForFret(course, static_cast<int>(fret));
  return SetNoteOnCourse(chord, instrument, course, int64_t{pitchByte} + kCoursePitchOffset, key);
}

void FinishTextImportSection(CSystemArray& section, size_t current, const CKey& key) {
  // Systems are cut after runs of this many events.
  constexpr size_t kRunLength = 24;
  section.couplets.TextToRtf(section.Title().text, section.Comments().text);
  section.Comments().text.clear();
  if (current < section.definitions.size()) section.definitions.at(current)->key = key;
  section.key = key;

  section.DistributeInstrumentVoices();
  // A section without music still gets a system to show its instruments on.
  if (section.systems.empty()) section.NewSystem(CSystemArray::kAppend);
  // The file's bar lines are data: they stay where the file put them, each closing a bar of
  // whatever length it holds, and the numbers count them. None is freed to be cut again.
  for (size_t s = 0; s < section.systems.size(); ++s) section.RebarSystem(s, false);
  section.NumberBars(0);
  section.RecalculateNotation();
  section.CopyFirstSystemStaves();
  // A system ends with the bar line it breaks at.
  section.ReflowSystems(false, kRunLength, BreakAtBar::kAfter);
  section.RecalculateStemDirections();
  section.ReflowSystems(true, kRunLength);
  section.ReflowSystems(false, kRunLength, BreakAtBar::kAfter);
  // Finished as reading a document finishes a section, so that the first save is stable.
  section.RecalculateSection(false);
}

std::unique_ptr<CInstrumentDlg> ProposedInstrument(const CBriotabDoc& doc) {
  const CSystemArray* active = ActiveSectionOf(doc);
  if (active != nullptr && !active->definitions.empty()) return active->definitions.at(0)->Clone();
  auto definition = std::make_unique<CInstrumentDlg>();
  definition->EnsureStave();
  return definition;
}

const CSystemArray* ActiveSectionOf(const CBriotabDoc& doc) {
  const int32_t active = doc.sections.activeSection;
  return active >= 0 && static_cast<size_t>(active) < doc.sections.size() ? doc.sections.at(static_cast<size_t>(active))
                                                                          : nullptr;
}

void RemoveSections(CBriotabDoc& doc, const std::vector<CSystemArray*>& sections, const CSystemArray* activeBefore) {
  for (const CSystemArray* section : sections) {
    const int index = doc.sections.IndexOf(section);
    if (index >= 0) doc.sections.erase(static_cast<size_t>(index));
  }
  doc.sections.Renumber();
  const int back = activeBefore != nullptr ? doc.sections.IndexOf(activeBefore) : -1;
  doc.sections.activeSection = back >= 0 ? back : static_cast<int32_t>(doc.sections.size()) - 1;
  doc.sections.ClampActiveSection();
}

int64_t ReadBoundedNumber(std::string_view text, size_t& pos, int64_t limit) {
  int64_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = std::min(value * 10 + (text[pos] - '0'), limit);
  }
  return value;
}

std::vector<std::string> ListFolderFiles(const std::string& folder, std::string_view extension) {
  std::vector<std::string> files;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    const std::string name = it->path().filename().string();
    if (EndsWithNoCase(name, extension) && name.size() > extension.size()) files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace vornel

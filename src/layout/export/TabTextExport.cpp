// The two plain-text forms of a section's tablature: the TAB text of the DOS tablature
// typesetter (one chord a line, bar lines as lines of their own) and the paginated text for
// Braille transcription, whose signs are Braille ASCII.

#include <array>
#include <string>
#include <string_view>

#include "layout/export/BrailleExport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNoteArray.h"
#include "model/instrument/nTuning.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

// A plain bar line, or a fixed one: the bars the TAB text numbers.
bool IsNumberedTabBar(uint16_t status) { return status == 1 || (status & 0xFFF3) == 0x11; }

// The fret text of a note on its own course; empty when the note has no fret there.
std::string FretTextOf(const nNotes& note, const CTabInstrument& instrument) {
  std::string text;
  if (!instrument.GetFretText(note.pitch - kCoursePitchOffset, note.string, text)) text.clear();
  return text;
}

// The TAB marks of a note's ornament word, added to the course field written so far.
void AppendTabOrnamentMarks(std::string& field, uint16_t ornament) {
  switch (ornament & 0x0F) {
    case 1: field += '.'; break;
    case 2: field += ':'; break;
    case 4: field += '|'; break;
    case 6: field += "&^"; break;
    case 8:
    case 9:
    case 10:
    case 11: {
      // A fingering digit goes before the last character written.
      const std::array<char, 2> mark = {'\\', static_cast<char>('1' + (ornament & 0x0F) - 8)};
      field.insert(field.empty() ? 0 : field.size() - 1, mark.data(), mark.size());
      break;
    }
    default: break;
  }
  static constexpr std::array<const char*, 7> kHighMarks = {"", "&`", "&'", "&#", "&+", "&*", "&x"};
  const size_t high = (ornament >> 4) & 0x0F;
  if (high < kHighMarks.size()) field += kHighMarks[high];
}

// The leading number of a fret text ("10" is 10, "x1" is 0), as "%d" reads it.
int32_t LeadingNumber(std::string_view text) {
  uint32_t value = 0;
  ScanInt(text, value);
  return static_cast<int32_t>(value);
}

// Braille ornament prefixes by bits 4-11 of the ornament word.
std::string_view BraillePrefix(uint16_t ornament) {
  switch ((ornament >> 4) & 0xFF) {
    case 1: return ">='";
    case 2: return ">+'";
    case 3: return ">%'";
    case 4: return ">x'";
    case 11: return ">59'";
    case 12: return "@";
    case 13: return ">_8'";
    default: return {};
  }
}

std::string_view BrailleOrnamentMark(uint16_t ornament) {
  switch (ornament & 0x0F) {
    case 1: return "'";
    case 2: return "2";
    case 3: return "l";
    case 8: return ".a";
    case 9: return ".b";
    case 10: return ".l";
    case 11: return ".1";
    default: return {};
  }
}

// The Braille rhythm sign of a chord's rhythm word.
std::string BrailleRhythm(uint16_t rhythm) {
  static constexpr std::array<const char*, 8> kSigns = {",b", ",w", ",h", ",q", ",e", ",s", ",t", ",y"};
  std::string text;
  if ((rhythm & 0xFFF0) != 0) text += '2';
  text += kSigns[rhythm & 7];
  if (rhythm & 8) text += '\'';
  return text;
}

// Beats per minute of a section's tempo word (its upper bits hold the beat unit and flags).
int32_t BeatsPerMinute(int32_t tempo) { return tempo & 0xFFF; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Braille pages

void BrailleExport::NewPage() {
  out += kFormFeed;
  ++page;
  line = 0;
}

void BrailleExport::BreakLine() {
  out += '\n';
  ++line;
  if (line > linesPerPage - 1) NewPage();
}

void BrailleExport::CountBlockLines(int32_t lines) {
  line += lines;
  if (line > 24) NewPage();
}

std::string BrailleDigits(int32_t number) {
  std::string text = FormatInt(number);
  for (char& c : text) {
    if (c == '0') {
      c = 'j';
    } else if (c >= '1' && c <= '9') {
      c = static_cast<char>('a' + (c - '1'));
    }
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// TAB text

std::string nChord::GetTabLine(const CTabInstrument& instrument, bool withRhythm) const {
  static constexpr std::array<const char*, 8> kRhythmSigns = {"W", "w", "0", "1", "2", "3", "4", "5"};
  std::string rhythmField = "x";
  if (withRhythm) {
    rhythmField = kRhythmSigns[rhythm & 7];
    if (rhythm & 8) rhythmField += '.';
  }

  const int courses = instrument.tuning.lines;
  std::string courseField;
  for (int course = 0; course < courses; ++course) {
    const nNotes* note = notes.NoteOnCourse(static_cast<uint8_t>(course));
    if (note == nullptr || note->pitch == 0) {
      courseField += ' ';
      continue;
    }
    courseField += FretTextOf(*note, instrument);
    AppendTabOrnamentMarks(courseField, note->ornament);
  }

  std::string bourdonField;
  for (const auto& note : notes.items()) {
    if (note == nullptr || note->string < courses) continue;
    // French tablature marks the eighth to tenth courses with one to three slashes.
    if (instrument.tabStyle == CTabInstrument::kFrench && note->string >= 7 && note->string <= 9) {
      bourdonField.assign(static_cast<size_t>(note->string - 6), '/');
    }
    bourdonField += FretTextOf(*note, instrument);
    break;
  }
  return rhythmField + courseField + bourdonField + "\n";
}

void nChordArray::WriteTabText(const CTabInstrument& instrument, std::string& out, int& barCounter) const {
  bool first = true;
  uint16_t previousValue = 0;
  for (const Handle& handle : *this) {
    const nChord* e = handle.get();
    if (e == nullptr || e->IsSpecialEvent()) continue;
    if (e->IsBarLine()) {
      if (IsNumberedTabBar(e->status)) {
        ++barCounter;
        out += "b\n%Bar " + FormatInt(barCounter) + "\n";
      } else {
        out += ".bb.\n";
      }
      continue;
    }
    const uint16_t value = e->rhythm & 0x0F;
    out += e->GetTabLine(instrument, first || value != previousValue);
    first = false;
    previousValue = value;
  }
}

int CSystemArray::WriteTabFormatText(bool pageBreaks, std::string& out) const {
  out += "\n{" + Title().text + "}\n";
  if (!systems.empty()) {
    const size_t lineIndex = static_cast<size_t>(ActiveSystem()->activeInstrument);
    const CTabInstrument& instrument = Definition(lineIndex)->tabInstrument;
    int barCounter = 1;
    for (size_t s = 0; s < systems.size(); ++s) {
      if (pageBreaks && s > 0 && stavesPerPage > 0 && s % static_cast<size_t>(stavesPerPage) == 0) out += "\np\n";
      out += "\n%Line no." + FormatInt(static_cast<int32_t>(s) + 1) + " ===============\nb\n";
      const CInstrument& line = *System(s)->Line(lineIndex);
      const nChordArray& voice = line.selectedVoice != 0 ? line.secondVoice : line.firstVoice;
      voice.WriteTabText(instrument, out, barCounter);
    }
  }
  out += "Q\n{/}\n%End of section\n";
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Braille text

std::string nNoteArray::GetBrailleText(const CTabInstrument& instrument) const {
  const bool numbers = instrument.tabStyle == CTabInstrument::kItalian ||
                       instrument.tabStyle == CTabInstrument::kSpanish;
  size_t tuned = 0;
  while (tuned < nTuning::kMaxCourses && instrument.tuning.courses[tuned].pitch != 0) ++tuned;

  std::string text;
  for (size_t course = 0; course < tuned; ++course) {
    const nNotes* note = NoteOnCourse(static_cast<uint8_t>(course));
    if (note == nullptr) continue;
    std::string fret;
    if (numbers && note->string > instrument.tuning.lines) {
      fret = "#j";
    } else if (!instrument.GetFretText(note->pitch - kCoursePitchOffset, note->string, fret)) {
      return "!";
    }
    const std::string courseNumber = BrailleDigits(static_cast<int32_t>(course) + 1);
    std::string pair(numbers ? "#" : ";");
    pair += numbers ? BrailleDigits(LeadingNumber(fret)) : fret;
    pair += '.';
    pair += courseNumber;
    pair += BrailleOrnamentMark(note->ornament);
    switch (note->fingering & 0x0F) {
      case 1:
      case 2:
      case 5:
      case 6: pair += '-'; break;
      default: break;
    }
    text += BraillePrefix(note->ornament);
    if ((note->fingering & 0x0F) == 8) text += '/';
    text += pair;
  }
  return text;
}

void nChordArray::WriteBrailleText(BrailleExport& text, const CTabInstrument& instrument) const {
  int32_t chars = 0;
  int32_t lineNumber = 2;
  int32_t barNumber = 1;
  bool haveRhythm = false;
  uint16_t lastRhythm = 0;
  for (const Handle& handle : *this) {
    const nChord* e = handle.get();
    if (e == nullptr) continue;
    if (chars > text.charsPerLine) {
      text.BreakLine();
      chars = 0;
    }
    if (e->IsStaveBreak()) {
      const std::string lineText = BrailleDigits(lineNumber++);
      const std::string barText = BrailleDigits(barNumber);
      const std::string pageText = BrailleDigits(text.page);
      if (text.line <= text.linesPerPage - 2) {
        text.Write("\n");
        ++text.line;
      } else {
        text.NewPage();
      }
      text.Write("\t,l#" + lineText + " ,b#" + barText + " ,p#" + pageText);
      text.BreakLine();
      chars = 0;
    }
    if (e->IsBarLine() && (e->status & 0x80) != 0) {
      static constexpr std::array<const char*, 4> kRepeatSigns = {"<2 ", "<7 ", "<l ", "<k' "};
      const size_t kind = (e->status >> 4) & 7;
      if (kind < kRepeatSigns.size()) text.Write(kRepeatSigns[kind]);
      chars += kind == 3 ? 4 : 3;
    }
    if (e->IsBarLine() && (e->status & 15) == 1) {
      text.Write("l ");
      ++barNumber;
      chars += 2;
    }
    if (e->IsChord()) {
      std::string rhythmText;
      if (!haveRhythm || e->rhythm != lastRhythm) {
        haveRhythm = true;
        lastRhythm = e->rhythm;
        rhythmText = BrailleRhythm(e->rhythm);
      }
      const std::string noteText = e->notes.GetBrailleText(instrument);
      const int32_t length = static_cast<int32_t>(rhythmText.size() + noteText.size()) + 1;
      if (length + chars >= text.charsPerLine) {
        text.BreakLine();
        chars = 0;
      }
      text.Write(rhythmText + noteText + " ");
      chars += length;
    }
  }
}

void CInstrumentDlg::WriteBrailleTabText(BrailleExport& text) const {
  const std::string& name = nameText.text;
  if (!name.empty()) {
    text.Write("Section: " + name + "\n");
    text.CountBlockLines(1);
  }
  text.Write("Instrument: " + name + "\nTuning: " + tabInstrument.tuningText + "\n[begin tab]\n");
  text.line += 3;
  const nChordArray& voice = gathered[0].empty() ? gathered[1] : gathered[0];
  if (voice.empty()) {
    text.Write("No tablature data available\n");
    return;
  }
  voice.WriteBrailleText(text, tabInstrument);
  text.Write("\n[end tab]\n");
  text.CountBlockLines(2);
}

void CSystemArray::WriteBrailleTabText(BrailleExport& text) {
  // The gathered lists only point to the systems' events; they are let go however the
  // writing ends.
  struct Release {
    CSystemArray& section;
    ~Release() { section.ClearGatheredVoices(); }
  } release{*this};
  GatherAllVoices(0);
  text.Write("[begin section]\nTitle: " + Title().text + "\n");
  text.line += 2;
  if (!Comments().text.empty()) {
    text.Write("Comments: " + Comments().text + "\n");
    text.line += 1;
  }
  text.Write("Signature: " + FormatInt(numerator) + "/" + FormatInt(denominator) +
             " - Tempo: " + FormatInt(BeatsPerMinute(tempo)) + "\n");
  text.line += 1;
  for (const auto& definition : definitions.items()) definition->WriteBrailleTabText(text);
  if (!EndText().text.empty()) text.Write("[endtext]:\n" + EndText().text + "\n");
  text.Write("[end section: " + Title().text + "]\n");
  text.out += BrailleExport::kFormFeed;
  text.line = 0;
}

}  // namespace vornel

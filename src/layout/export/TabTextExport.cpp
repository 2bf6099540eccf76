// The two plain-text forms of a section's tablature: the TAB text of the DOS tablature
// typesetter (one chord a line, bar lines as lines of their own) and the paginated text for
// Braille transcription, whose signs are Braille ASCII.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "layout/export/BrailleExport.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/TabTextReport.h"
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

// The TAB mark of a note's fingering or ornament, as the reader takes it back: one mark to a
// note (the reader keeps one), written after its fret unless `before` is set, in which case it
// goes before it. False when the note carries a mark the text has no sign for, or more than one.
struct TabMark {
  std::string text;
  bool before = false;
};

bool TabMarkOf(const nNotes& note, TabMark& mark) {
  const uint16_t low = note.fingering & 0x0F;
  const uint16_t high = (note.fingering >> 4) & 0x0F;
  const uint16_t ornament = note.ornament & 0x7F;
  int marks = 0;
  bool known = true;
  // Left-hand marks below the letter: a dot, two dots, a stroke, two dots beside it.
  switch (low) {
    case 0: break;
    case 5: mark.text = "."; ++marks; break;
    case 1: mark.text = ":"; ++marks; break;
    case 6: mark.text = "|"; ++marks; break;
    case 10: mark.text = "%"; ++marks; break;
    default: known = false; break;
  }
  // Right-hand fingers, written before the letter; the backslash sign after it.
  if (high != 0) {
    if (high >= 1 && high <= 4) {
      if (marks++ == 0) mark = {std::string("\\") + static_cast<char>('0' + high), true};
    } else if (high == 12) {
      if (marks++ == 0) mark.text = "&\\";
    } else {
      known = false;
    }
  }
  // Ornaments, written after the letter.
  if (ornament != 0) {
    static constexpr std::array<std::pair<uint8_t, char>, 8> kOrnaments = {
        {{36, ','}, {100, '\''}, {2, '+'}, {66, '#'}, {68, 'Q'}, {33, '@'}, {97, '^'}, {22, '='}}};
    const auto found = std::find_if(kOrnaments.begin(), kOrnaments.end(),
                                    [ornament](const auto& entry) { return entry.first == ornament; });
    if (found == kOrnaments.end()) {
      known = false;
    } else if (marks++ == 0) {
      mark.text = std::string("&") + found->second;
    }
  }
  return known && marks <= 1;
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

std::string TabTextReport::Describe() const {
  std::string text;
  const auto add = [&text](size_t count, std::string_view one, std::string_view many) {
    if (count == 0) return;
    if (!text.empty()) text += ", ";
    text += FormatInt(static_cast<int32_t>(count));
    text += ' ';
    text += count == 1 ? one : many;
  };
  add(barLines, "bar line of a kind TAB text has no line for", "bar lines of a kind TAB text has no line for");
  add(frets, "fret no character of TAB text names", "frets no character of TAB text names");
  add(bassNotes, "note on a bass course no place of its line takes", "notes on bass courses no place of their lines takes");
  add(fermatas, "fermata on a chord that changes the rhythm", "fermatas on chords that change the rhythm");
  add(tuplets, "tuplet mark", "tuplet marks");
  add(marks, "mark TAB text has no sign for", "marks TAB text has no sign for");
  return text;
}

namespace {

// The chord mark of a flag kept for its value but not printed, and the fermata's.
constexpr uint16_t kNoFlagMark = 3;
// The tuplet a "t" line gives.
constexpr uint16_t kTabTuplet = 0x10;

void Count(TabTextReport* report, size_t TabTextReport::*field) {
  if (report != nullptr) ++(report->*field);
}

// A note's fret text with its mark.
std::string Marked(const nNotes& note, const std::string& fret, TabTextReport* report) {
  TabMark mark;
  if (!TabMarkOf(note, mark)) Count(report, &TabTextReport::marks);
  return mark.before ? mark.text + fret : fret + mark.text;
}

// The course field of a chord on the lines, each course one character and its marks.
std::string CourseField(const nChord& chord, const CTabInstrument& instrument, TabTextReport* report) {
  std::string field;
  for (int course = 0; course < instrument.tuning.lines; ++course) {
    const nNotes* note = chord.notes.NoteOnCourse(static_cast<uint8_t>(course));
    if (note == nullptr || note->pitch == 0) {
      field += ' ';
      continue;
    }
    const std::string fret = FretTextOf(*note, instrument);
    if (fret.size() != 1) {
      // Each course takes one character: a fret of two ("10") would move the courses after it.
      Count(report, &TabTextReport::frets);
      field += ' ';
      continue;
    }
    field += Marked(*note, fret, report);
  }
  return field;
}

// The bass courses below the lines. One bass note is written as the typesetter reads it: the
// seventh course's letter, one to three slashes before the letter of the eighth to tenth, or
// the number of an open course past the tenth. Several (French letters only) take a position
// each from the seventh course on, the way every course is written, and open courses past
// the tenth an "N" and their number in a position left free.
std::string BassField(const nChord& chord, const CTabInstrument& instrument, TabTextReport* report) {
  const int lines = instrument.tuning.lines;
  std::vector<const nNotes*> bass;
  for (const auto& note : chord.notes.items()) {
    if (note == nullptr || note->string < lines || note->pitch == 0) continue;
    // A note on a course the tuning lacks (a course left unassigned) has no sign to write.
    if (note->string >= instrument.tuning.courses.size()) {
      Count(report, &TabTextReport::bassNotes);
      continue;
    }
    bass.push_back(note.get());
  }
  if (bass.empty()) return {};
  std::sort(bass.begin(), bass.end(), [](const nNotes* a, const nNotes* b) { return a->string < b->string; });
  const bool french = instrument.tabStyle == CTabInstrument::kFrench;
  const auto open = [&instrument](const nNotes& note) {
    return note.pitch - kCoursePitchOffset == instrument.OpenPitch(note.string);
  };
  if (bass.size() == 1 || !french) {
    const nNotes& note = *bass.front();
    for (size_t i = 1; i < bass.size(); ++i) Count(report, &TabTextReport::bassNotes);
    std::string field;
    // French tablature marks the eighth to tenth courses with one to three slashes.
    if (french && note.string >= 7 && note.string <= 9) field.assign(static_cast<size_t>(note.string - 6), '/');
    const std::string fret = FretTextOf(note, instrument);
    // Past the tenth course only an open one has a sign, and only up to the fifteenth.
    if (french && note.string >= 10 && (!open(note) || note.string > 14)) {
      Count(report, &TabTextReport::bassNotes);
      return {};
    }
    return field + Marked(note, fret, report);
  }
  // The positions from the seventh course to the tenth.
  constexpr int kLastPosition = 9;
  std::array<std::string, kLastPosition + 1> positions{};
  std::vector<const nNotes*> beyond;
  for (const nNotes* note : bass) {
    if (note->string <= kLastPosition && note->string >= lines) {
      const std::string fret = FretTextOf(*note, instrument);
      if (fret.size() == 1) {
        positions[static_cast<size_t>(note->string)] = Marked(*note, fret, report);
      } else {
        Count(report, &TabTextReport::bassNotes);
      }
    } else {
      beyond.push_back(note);
    }
  }
  for (const nNotes* note : beyond) {
    // "N11" to "N14" name the open eleventh to fourteenth course.
    int free = lines;
    while (free <= kLastPosition && !positions[static_cast<size_t>(free)].empty()) ++free;
    if (free > kLastPosition || !open(*note) || note->string > 13) {
      Count(report, &TabTextReport::bassNotes);
      continue;
    }
    std::string named = "N";
    named += FormatInt(note->string + 1);
    positions[static_cast<size_t>(free)] = Marked(*note, named, report);
  }
  int last = kLastPosition;
  while (last >= lines && positions[static_cast<size_t>(last)].empty()) --last;
  std::string field;
  for (int p = lines; p <= last; ++p) {
    const std::string& text = positions[static_cast<size_t>(p)];
    field += text.empty() ? std::string(" ") : text;
  }
  return field;
}

// The rhythm field, from the rhythm the reader holds after the line before (`held`: the code and
// the tuplet bit; negative before the first chord), which it updates.
std::string FlagField(const nChord& chord, int& held, TabTextReport* report) {
  static constexpr std::array<char, 8> kRhythmSigns = {'W', 'w', '0', '1', '2', '3', '4', '5'};
  const int code = chord.rhythm & 7;
  const uint16_t tuplet = chord.rhythm & 0xF0;
  const bool fermata = chord.metaEvents.Find(CMetaEvent::kFermata) != nullptr;
  const uint16_t mark = chord.ChordMark();
  std::string field;
  if (tuplet != 0 && tuplet != kTabTuplet) Count(report, &TabTextReport::tuplets);
  const int wanted = tuplet == kTabTuplet ? code | kTabTuplet : code;
  if (fermata && held == wanted) {
    field = "Y";  // the fermata keeps the rhythm the reader holds
  } else if (tuplet == kTabTuplet && held >= 0 && (held & 7) == code) {
    if (held != wanted) {
      field = std::string("t") + kRhythmSigns[static_cast<size_t>(code)];
    } else {
      field = "x";
    }
    if (fermata) Count(report, &TabTextReport::fermatas);
  } else {
    if (tuplet == kTabTuplet) Count(report, &TabTextReport::tuplets);
    if (fermata) Count(report, &TabTextReport::fermatas);
    field = held == code ? std::string("x") : std::string(1, kRhythmSigns[static_cast<size_t>(code)]);
    held = code;
  }
  if (field.front() == 't') held = wanted;
  // A flag kept for its value but not printed (the course field follows, so that the line is
  // not "1!" alone, an empty place); a fermata gives that mark itself.
  if (mark == kNoFlagMark && !fermata) {
    field += '!';
  } else if (mark != 0 && !(fermata && mark == kNoFlagMark)) {
    Count(report, &TabTextReport::marks);
  }
  if (chord.rhythm & 8) field += '.';
  return field;
}

// The time signature of a special event, as a meter line; empty for other events.
std::string MeterLine(const nChord& e) {
  if (!e.IsSpecialEvent() || e.SpecialSubtype() != nChord::kTimeSignatureChange) return {};
  const CMetaEvent* signature = e.metaEvents.Find(CMetaEvent::kTimeSignature);
  if (signature == nullptr) return {};
  return "S" + FormatInt(signature->cx) + "/" + FormatInt(signature->cy) + "\n";
}

}  // namespace

std::string nChord::GetTabLine(const CTabInstrument& instrument, bool withRhythm) const {
  // Without the rhythm sign the reader holds this chord's value already.
  int held = withRhythm ? -1 : rhythm & 7;
  if (!withRhythm && (rhythm & 0xF0) == kTabTuplet) held |= kTabTuplet;
  return FlagField(*this, held, nullptr) + CourseField(*this, instrument, nullptr) +
         BassField(*this, instrument, nullptr) + "\n";
}

void nChordArray::WriteTabText(const CTabInstrument& instrument, std::string& out, int& barCounter,
                               TabTextReport* report) const {
  int held = -1;
  for (const Handle& handle : *this) {
    const nChord* e = handle.get();
    if (e == nullptr) continue;
    if (e->IsSpecialEvent()) {
      out += MeterLine(*e);
      continue;
    }
    if (e->IsBarLine()) {
      const uint16_t kind = e->status & 0xFFF3;
      if (e->IsStaveBreak()) continue;
      if (IsNumberedTabBar(e->status)) {
        // "bX" is a bar line the numbering passes over.
        if (e->rhythm == nChord::kSkipNumber) {
          out += "bX\n";
          continue;
        }
        ++barCounter;
        out += "b\n%Bar " + FormatInt(barCounter) + "\n";
      } else if (kind == 0x31) {
        out += "bb\n";
      } else if (kind == 0xB1) {
        out += "B\n";
      } else {
        if (kind != 0xE1) Count(report, &TabTextReport::barLines);
        out += ".bb.\n";
      }
      continue;
    }
    out += FlagField(*e, held, report) + CourseField(*e, instrument, report) + BassField(*e, instrument, report) + "\n";
  }
}

int CSystemArray::WriteTabFormatText(bool pageBreaks, std::string& out, TabTextReport* report) const {
  out += "\n{" + Title().text + "}\n";
  if (!systems.empty()) {
    const size_t lineIndex = static_cast<size_t>(ActiveSystem()->activeInstrument);
    const CTabInstrument& instrument = Definition(lineIndex)->tabInstrument;
    int barCounter = 1;
    for (size_t s = 0; s < systems.size(); ++s) {
      if (pageBreaks && s > 0 && stavesPerPage > 0 && s % static_cast<size_t>(stavesPerPage) == 0) out += "\np\n";
      // A blank line breaks the typesetter's system; the bar lines are the voice's own.
      out += "\n%Line no." + FormatInt(static_cast<int32_t>(s) + 1) + " ===============\n";
      const CInstrument& line = *System(s)->Line(lineIndex);
      const nChordArray& voice = line.selectedVoice != 0 ? line.secondVoice : line.firstVoice;
      voice.WriteTabText(instrument, out, barCounter, report);
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

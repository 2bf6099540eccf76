// ABC music lines read as notes: bars, chords in brackets, notes with their lengths,
// accidentals, decorations, annotations, slurs, ties and tuplets.

#include <algorithm>
#include <array>
#include <string>

#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

constexpr std::string_view kNoteLetters = "ABCDEFGabcdefgz";
// What the chord effect "Accented chord" puts into a chord's dy word.
constexpr uint16_t kAccentedChord = 0x1542;
// Annotations that are not chord symbols stay with the chord as captions.
constexpr uint32_t kAnnotationCaption = 0x10020000;

// Note decorations of the one-character ABC marks.
struct DecorationMark {
  char mark;
  int code;
};
constexpr std::array<DecorationMark, 7> kDecorationMarks = {
    {{'.', 50}, {'~', 42}, {'M', 32}, {'P', 33}, {'T', 38}, {'u', 58}, {'v', 57}}};

// The same decorations by their "!name!".
struct DecorationName {
  std::string_view name;
  int code;
};
constexpr std::array<DecorationName, 10> kDecorationNames = {{{"staccato", 50},
                                                              {"roll", 42},
                                                              {"lowermordent", 32},
                                                              {"mordent", 32},
                                                              {"uppermordent", 33},
                                                              {"pralltriller", 33},
                                                              {"trill", 38},
                                                              {"upbow", 58},
                                                              {"downbow", 57},
                                                              {"tr", 38}}};

// The chord kinds the chord-symbol table builds (nChord::ChordToneTable), by their suffix.
constexpr std::array<std::string_view, 12> kChordSuffixes = {"",   "4",  "6",   "7m", "9",  "7M",
                                                             "9-", "4+6", "5+", "sus", "4s", "7"};

// Semitones of the natural steps C D E F G A B.
constexpr std::array<int, 7> kNaturalSemitones = {0, 2, 4, 5, 7, 9, 11};

bool IsLengthChar(char c) { return (c >= '0' && c <= '9') || c == '/'; }

// The divisor of a length from its first "/": every "/" doubles it, a number after them
// replaces it.
uint64_t ReadDivisor(std::string_view line, size_t& pos) {
  int64_t divisor = 1;
  while (pos < line.size() && line[pos] == '/') {
    divisor = std::min<int64_t>(divisor * 2, int64_t{1} << 20);
    ++pos;
  }
  if (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    divisor = std::max<int64_t>(ReadBoundedNumber(line, pos), 1);
  }
  return static_cast<uint64_t>(divisor);
}

// A root A-G, an optional sharp or flat, an optional minor "m" and one of the chord kinds the
// program builds chords for: at most four characters.
bool IsChordSymbol(std::string_view text) {
  if (text.empty() || text.size() > 4 || text[0] < 'A' || text[0] > 'G') return false;
  std::string_view rest = text.substr(1);
  if (!rest.empty() && (rest[0] == '#' || rest[0] == 'b')) rest.remove_prefix(1);
  if (!rest.empty() && rest[0] == 'm') rest.remove_prefix(1);
  return std::find(kChordSuffixes.begin(), kChordSuffixes.end(), rest) != kChordSuffixes.end();
}

// An annotation's lines: a "\n" in the text starts a new line (figured bass writes its
// figures so, one above the other).
std::string AnnotationLines(std::string_view text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      lines += '\n';
      ++i;
    } else {
      lines += text[i];
    }
  }
  return lines;
}

// The step (C = 0) of a note letter.
int StepOfLetter(char letter) {
  static constexpr std::string_view kLetters = "CDEFGAB";
  return static_cast<int>(kLetters.find(static_cast<char>(letter >= 'a' ? letter - 'a' + 'A' : letter)));
}

}  // namespace

void CAbcImport::ReadNoteLine(std::string_view line) {
  LookUpVoice();
  if (line.empty() || line.front() == '#') return;
  lineStart_ = voice_->size();
  versesOfLine_ = 0;
  size_t pos = 0;
  while (pos < line.size()) {
    const char c = line[pos];
    const char next = pos + 1 < line.size() ? line[pos + 1] : '\0';
    if (c == 'y') {
      pos += 2;
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
    } else if (IsBlank(c) || c == '\\' || c == ']' || (c == ':' && next != ':' && next != '|')) {
      ++pos;
    } else if (c == '[' && next >= 'A' && next <= 'Z' && pos + 2 < line.size() && line[pos + 2] == ':') {
      // An inline field: a voice change takes effect, the others are passed over.
      const size_t close = line.find(']', pos);
      const size_t end = close == std::string_view::npos ? line.size() : close;
      if (next == 'V') SelectVoice(TrimBlanks(line.substr(pos + 3, end - pos - 3)));
      pos = close == std::string_view::npos ? line.size() : close + 1;
    } else if (c == '|' || c == ':' || (c == '[' && (next == ':' || next == ']' || next == '|')) ||
               (c == '[' && next >= '0' && next <= '9')) {
      ReadBar(line, pos);
    } else if (c == '[') {
      ReadBracketChord(line, pos);
    } else {
      const size_t before = pos;
      ReadNoteToken(line, pos, nullptr);
      if (pos == before) ++pos;
    }
  }
}

void CAbcImport::ReadBar(std::string_view line, size_t& pos) {
  uint16_t status = 0x11;
  if (line[pos] == '[' && pos + 1 < line.size() && line[pos + 1] >= '0' && line[pos + 1] <= '9') {
    // "[2": a numbered ending on a plain bar.
    ++pos;
  } else {
    const size_t start = pos;
    ++pos;
    while (pos < line.size() && (line[pos] == '|' || line[pos] == ':' || (line[pos] == ']' && line[pos - 1] == '|'))) {
      ++pos;
    }
    const std::string_view token = line.substr(start, pos - start);
    const char first = token[0];
    const char second = token.size() > 1 ? token[1] : '\0';
    if (token.size() >= 2 && first == ':' && token.back() == ':') {
      status = 0xA1;
    } else if (first == ':') {
      status = 0x81;
    } else if (token.size() >= 2 && token.back() == ':') {
      status = 0x91;
    } else if (first == '|' && second == '|') {
      status = 0x31;
    } else if (first == '|' && second == ']') {
      status = 0xB1;
    }
    // A numbered ending may follow as "[2" right after the bar.
    if (pos + 1 < line.size() && line[pos] == '[' && line[pos + 1] >= '0' && line[pos + 1] <= '9') ++pos;
  }
  nChord* bar = voice_->push_back(std::make_shared<nChord>(status));
  if (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
    const size_t start = pos;
    ReadBoundedNumber(line, pos);
    if (pos + 1 < line.size() && (line[pos] == ',' || line[pos] == '-') && line[pos + 1] >= '0' &&
        line[pos + 1] <= '9') {
      ++pos;
      ReadBoundedNumber(line, pos);
    }
    // The ending keeps the repeat bits the bar had, as the "Repeat ending" command does.
    bar->metaEvents.SetMetaEvent(CMetaEvent::kEnding, line.substr(start, pos - start),
                                 static_cast<uint32_t>(bar->status & 0xF0) << 4, 0, 0);
    bar->status = 0xCD;
  }
}

void CAbcImport::ReadBracketChord(std::string_view line, size_t& pos) {
  const size_t close = line.find(']', pos);
  const size_t end = close == std::string_view::npos ? line.size() : close;
  nChord& chord = *voice_->push_back(std::make_shared<nChord>());
  chord.rhythm = static_cast<uint16_t>(lastCode_);
  const std::string_view inside = line.substr(0, end);
  for (size_t inner = pos + 1; inner < end;) {
    const size_t before = inner;
    ReadNoteToken(inside, inner, &chord);
    if (inner == before) ++inner;
  }
  pos = close == std::string_view::npos ? line.size() : close + 1;
  // A length after the bracket is the length of the whole chord.
  if (pos < line.size() && IsLengthChar(line[pos])) {
    bool dotted = false;
    const int code = ReadLength(line, pos, dotted);
    chord.rhythm = static_cast<uint16_t>((chord.rhythm & 0xF0) | static_cast<uint16_t>(code) |
                                         (dotted ? kDottedFlag : 0));
    lastCode_ = code;
  }
  if (slurOpen_) {
    if (!slurStart_) slurStart_ = voice_->size() - 1;
    ++slurNotes_;
  }
}

bool CAbcImport::ReadNotePrefix(std::string_view line, size_t& pos, NotePrefix& prefix) {
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '"') {
      const size_t close = line.find('"', pos + 1);
      const size_t end = close == std::string_view::npos ? line.size() : close;
      prefix.annotation = std::string(line.substr(pos + 1, end - pos - 1));
      pos = close == std::string_view::npos ? line.size() : close + 1;
    } else if (c == '!' || c == '+') {
      const size_t close = line.find(c, pos + 1);
      if (close == std::string_view::npos) {
        pos = line.size();
        break;
      }
      const std::string_view name = line.substr(pos + 1, close - pos - 1);
      pos = close + 1;
      if (name == "fermata") {
        prefix.fermata = true;
      } else if (name == "accent" || name == "emphasis" || name == ">") {
        prefix.accent = true;
      } else if (name == "segno") {
        prefix.reprise = true;
      } else {
        for (const DecorationName& decoration : kDecorationNames) {
          if (decoration.name == name) prefix.decoration = decoration.code;
        }
      }
    } else if (c == '{') {
      const size_t close = line.find('}', pos + 1);
      pos = close == std::string_view::npos ? line.size() : close + 1;
    } else if (c == 'H') {
      prefix.fermata = true;
      ++pos;
    } else if (c == 'S') {
      prefix.reprise = true;
      ++pos;
    } else if (c == '^' || c == '_') {
      prefix.accidental += c == '^' ? 1 : -1;
      prefix.accidental = std::clamp(prefix.accidental, -2, 2);
      ++pos;
    } else if (c == '=') {
      prefix.natural = true;
      ++pos;
    } else if (c == '(') {
      ++pos;
      if (pos < line.size() && line[pos] >= '1' && line[pos] <= '9') {
        tupletNumber_ = static_cast<int>(ReadBoundedNumber(line, pos, 99));
        tupletLeft_ = tupletNumber_;
        // "(p:q:r" forms: only p, the number of notes, is used; ":q:r" is skipped.
        while (pos < line.size() && (line[pos] == ':' || (line[pos] >= '0' && line[pos] <= '9'))) ++pos;
      } else {
        slurOpen_ = true;
        slurStart_.reset();
        slurNotes_ = 0;
      }
    } else if (c == ')') {
      CloseSlur();
      ++pos;
    } else if (c == '>') {
      prefix.dotPrevious = true;
      ++pos;
    } else if (c == '<') {
      prefix.halvePrevious = true;
      ++pos;
    } else if (c == '|' || c == ':' || c == '[' || c == ']') {
      return false;  // a bar or a chord: the note token ends before it
    } else if (kNoteLetters.find(c) != std::string_view::npos) {
      return true;
    } else {
      for (const DecorationMark& mark : kDecorationMarks) {
        if (mark.mark == c) prefix.decoration = mark.code;
      }
      ++pos;
    }
  }
  return false;
}

void CAbcImport::ReadNoteToken(std::string_view line, size_t& pos, nChord* chord) {
  NotePrefix prefix;
  if (!ReadNotePrefix(line, pos, prefix)) return;
  const char letter = line[pos++];

  int octave = letter >= 'a' ? 5 : 4;
  bool closesSlur = false;
  while (pos < line.size() && (line[pos] == ',' || line[pos] == '\'' || line[pos] == ')')) {
    if (line[pos] == ',') octave = std::max(octave - 1, -2);
    if (line[pos] == '\'') octave = std::min(octave + 1, 12);
    if (line[pos] == ')') closesSlur = true;
    ++pos;
  }
  bool dotted = false;
  int code = ReadLength(line, pos, dotted);
  if (pos < line.size() && line[pos] == '-') {
    tie_ = true;
    ++pos;
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;

  // The previous chord's share of a broken rhythm.
  nChord* previous = chord == nullptr ? LastChord() : nullptr;
  if (prefix.dotPrevious) {
    if (previous != nullptr) previous->rhythm |= kDottedFlag;
    code = ClampRhythmCode(code + 1);
  } else if (prefix.halvePrevious) {
    if (previous != nullptr) previous->rhythm = ShiftRhythmCode(previous->rhythm, 1);
    dotted = true;
  }

  nChord* target = chord;
  if (target == nullptr) {
    target = voice_->push_back(std::make_shared<nChord>());
    if (tupletLeft_ > 0) {
      target->rhythm |= kTripletFlag;
      --tupletLeft_;
    }
  }
  target->rhythm = static_cast<uint16_t>((target->rhythm & 0xF0) | static_cast<uint16_t>(code) |
                                         (dotted ? kDottedFlag : 0));
  lastCode_ = code;
  if (chord != nullptr && tupletLeft_ > 0 && (target->rhythm & kTripletFlag) == 0) {
    target->rhythm |= kTripletFlag;
    --tupletLeft_;
  }
  ApplyPrefixToChord(prefix, *target);
  if (letter == 'z') {
    tie_ = false;
    if (closesSlur) CloseSlur();
    return;
  }

  const int step = StepOfLetter(letter);
  int pitch = 12 * (octave + 1) + kNaturalSemitones[static_cast<size_t>(step)];
  if (!prefix.natural) pitch += key_.GetStepAlteration(step);
  pitch += prefix.accidental;
  const int pitchByte = pitch - kCoursePitchOffset;
  int course = tablature_->FindStringForPitch(pitchByte, -1);
  // Notes of one chord take different courses where the instrument allows it.
  if (course >= 0 && chord != nullptr && target->notes.NoteOnCourse(static_cast<uint8_t>(course)) != nullptr) {
    const int further = tablature_->FindStringForPitch(pitchByte, course);
    if (further >= 0) course = further;
  }
  nNotes* note = course >= 0 ? SetNoteOnCourse(*target, *tablature_, course, pitch, key_) : nullptr;
  if (note == nullptr) CountImportLoss(kUnplayableNote);
  if (note != nullptr && tie_) note->slur = 0x40;
  tie_ = false;
  if (note != nullptr && prefix.decoration >= 0) {
    if (nNotes* highest = target->notes.GetHighestNote()) highest->ToggleDecoration(prefix.decoration);
  }
  if (slurOpen_ && chord == nullptr) {
    if (!slurStart_) slurStart_ = voice_->size() - 1;
    ++slurNotes_;
  }
  // A ")" after the note ends the slur on it.
  if (closesSlur) CloseSlur();
}

void CAbcImport::ApplyPrefixToChord(const NotePrefix& prefix, nChord& chord) {
  if (!prefix.annotation.empty()) {
    if (IsChordSymbol(prefix.annotation)) {
      chord.metaEvents.SetMetaEvent(CMetaEvent::kChordName, prefix.annotation, 0, 0, 0);
    } else {
      chord.metaEvents.SetMetaEvent(CMetaEvent::kCaption, AnnotationLines(prefix.annotation), kAnnotationCaption, 0,
                                    0);
    }
  }
  if (prefix.accent) chord.dy = kAccentedChord;
  if (prefix.fermata) chord.metaEvents.SetMetaEvent(CMetaEvent::kFermata, "", 1, 0, 0);
  if (prefix.reprise) chord.metaEvents.SetMetaEvent(CMetaEvent::kReprise, "", 0, 0, 0);
}

void CAbcImport::CloseSlur() {
  if (slurOpen_ && slurStart_ && *slurStart_ < voice_->size()) {
    nChord* start = voice_->at(*slurStart_);
    nChord* end = LastChord();
    nNotes* startNote = start != nullptr ? start->notes.GetHighestNote() : nullptr;
    nNotes* endNote = end != nullptr ? end->notes.GetHighestNote() : nullptr;
    if (startNote != nullptr && endNote != nullptr) {
      const int span = std::abs(int{startNote->string} - int{endNote->string});
      // The span has three bits: more would run into the direction bit.
      startNote->slur = static_cast<uint32_t>((span & 7) * 8 + ((slurNotes_ - 2) & 7)) |
                        (startNote->string > endNote->string ? 0x40u : 0u);
    }
  }
  slurOpen_ = false;
  slurStart_.reset();
  slurNotes_ = 0;
}

int CAbcImport::ReadLength(std::string_view line, size_t& pos, bool& dotted) const {
  dotted = false;
  if (pos >= line.size() || !IsLengthChar(line[pos])) return ClampRhythmCode(unitLog2_ + 1);
  if (line[pos] == '/') return ClampRhythmCode(FloorLog2(ReadDivisor(line, pos)) + unitLog2_ + 1);
  const int64_t n = std::max<int64_t>(ReadBoundedNumber(line, pos), 1);
  const int64_t d = pos < line.size() && line[pos] == '/' ? ReadDivisor(line, pos) : 1;
  dotted = n % 3 == 0;
  return ClampRhythmCode(int64_t{unitLog2_} + 1 + FloorLog2(static_cast<uint64_t>(d)) -
                         FloorLog2(static_cast<uint64_t>(n)));
}

}  // namespace vornel

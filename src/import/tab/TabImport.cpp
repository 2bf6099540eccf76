#include "import/tab/TabImport.h"

#include <algorithm>
#include <cstdlib>

#include "document/CBriotabDoc.h"
#include "document/SectionWizard.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

// Bar lines the TAB lines make.
constexpr uint16_t kPlainBar = 0x11;
constexpr uint16_t kDoubleBar = 0x31;
constexpr uint16_t kThickBar = 0xE1;
constexpr uint16_t kLeftRepeatBar = 0x81;
constexpr uint16_t kEndBar = 0xB1;
// Lines the meter detection and the title scan look at.
constexpr int kMeterLookAhead = 40;
constexpr int kTitleLines = 20;

// The rhythm code of a flag character; -1 for the others.
int RhythmOfFlag(char c) {
  switch (c) {
    case 'W': return 0;
    case 'w': return 1;
    default: return c >= '0' && c <= '5' ? c - '0' + 2 : -1;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value a line adds to the first bar in the meter detection; `value` carries the value of
// the line before for flags that name none.
int64_t MeterValue(std::string_view line, int64_t& value) {
  size_t k = 0;
  if (line.size() > 1 && line[0] == '#') k = 1;
  const char c = line.empty() ? '\0' : line[k];
  if (c >= '0' && c <= '6') {
    value = 64 >> (c - '0');
  } else if (c == 'w' || c == 'W') {
    value = 128;
  }
  return line.size() > k + 1 && line[k + 1] == '.' ? value * 2 : value;
}

// The decorations of a position that are note decoration codes.
int DecorationCode(char decoration) {
  switch (decoration) {
    case '"':
    case '3': return 3;
    case '#':
    case '$':
    case 'x': return 33;
    case '%': return 9;
    case '\'': return 29;
    case '+': return 32;
    case ',': return 28;
    case '.': return 7;
    case '1': return 1;
    case '2': return 2;
    case '4': return 4;
    case ':': return 8;
    case '=': return 44;
    case '@': return 40;
    case 'Q': return 39;
    case '\\': return 22;
    case '^': return 41;
    case '|': return 12;
    default: return -1;
  }
}

constexpr std::string_view kPreviousDecorations = ".:[]|'`Q%?>@=$_^Rwu()+";
constexpr std::string_view kCurrentDecorations = "+*#x$<^";

// The courses an "N" with two digits names: "N10" ... "N14", open.
constexpr int64_t kFirstNamedCourse = 10;
constexpr int64_t kLastNamedCourse = 14;

}  // namespace

TabImport::TabImport(CBriotabDoc& doc) : CAbcImport(doc) {}

TabImport::~TabImport() = default;

int TabImport::ReadFile(const std::string& path) {
  const std::optional<std::string> bytes = OpenImportFile(path, kOpenFailedMessage);
  return bytes ? ReadText(*bytes, path) : 0;
}

int TabImport::ReadText(std::string_view bytes, const std::string& path) {
  SetSource(path);
  chordLines_ = 0;
  tupletChords_ = 0;
  rhythm_ = 2;
  titleBuffer_.clear();
  appliedMeterLine_.reset();
  ClearPendingSlur();
  failure_.clear();
  definitionIndex_ = 0;
  StartVoice();
  section_->Comments().text = Decode8BitText(path);
  // Course n of a line is position n - 1 whatever the instrument's tablature style: the
  // model's courses never depend on how a style draws them.
  LineReader lines(bytes);
  lines_ = &lines;
  text_ = bytes;
  failure_.clear();
  const bool read = ReadAllPieces();
  lines_ = nullptr;
  text_ = {};
  ClearPendingSlur();
  if (!read) {
    Prompts().ShowMessage(std::string(kProcessingFailedMessage) + "\n\n" + source_ + ", " + failure_,
                          MessageKind::kWarning);
    return 0;
  }
  voice_->push_back(std::make_shared<nChord>(kEndBar));
  FinishSection();
  return 1;
}

void TabImport::StartVoice() {
  LookUpVoice();
  // The notes are spelled in the key of the instrument line they go to.
  key_ = definition_->key;
}

bool TabImport::ReadAllPieces() {
  const size_t start = lines_->Tell();
  ScanTitle();
  if (!DetectMeter()) return false;
  lines_->Seek(start);
  while (DispatchLine()) {
  }
  voice_->push_back(std::make_shared<nChord>(kEndBar));
  return true;
}

bool TabImport::DispatchLine() {
  size_t offset = lines_->Tell();
  std::optional<std::string_view> line = lines_->Next(kLineBuffer);
  if (!line) return false;
  if (line->front() == 'A') {
    voice_->push_back(std::make_shared<nChord>(kThickBar));
    return true;
  }
  if (line->front() == 'e') {
    ClearPendingSlur();
    offset = lines_->Tell();
    line = lines_->Next(kLineBuffer);
    if (!line) return false;
    if (IsLineOf(*line, "</pre>")) {
      offset = lines_->Tell();
      line = lines_->Next(kLineBuffer);
      if (!line) return false;
    }
    if (IsLineOf(*line, "<pre>")) {
      const size_t resume = lines_->Tell();
      FinishSection();
      if (!StartNextPiece()) return false;
      lines_->Seek(resume);
      return true;
    }
  }
  DispatchFromMeter(*line, offset);
  return true;
}

void TabImport::DispatchFromMeter(std::string_view line, size_t offset) {
  const char first = line.front();
  if (first == 'S' || first == 'C' || first == 'c') {
    // The meter detection may have applied this line already.
    if (appliedMeterLine_ != offset) ReadMeterLine(line);
    return;
  }
  const std::string_view content = WithoutLineEnd(line);
  if (content == "{/}" || content.starts_with("{/}") || content.starts_with("{/ }")) {
    EndPiece();
    return;
  }
  if (first == '{' || first == '[') {
    titleBuffer_ += content;
    titleBuffer_ += '\n';
    return;
  }
  if (first == 'b') voice_->push_back(std::make_shared<nChord>(kPlainBar));
  if (line.starts_with(".bb.") || line.starts_with("b.b")) {
    voice_->push_back(std::make_shared<nChord>(kThickBar));
    return;
  }
  if (line == "bb" || first == '.') {
    voice_->push_back(std::make_shared<nChord>(kDoubleBar));
    return;
  }
  if (first == 'b') return;
  if (std::string_view("YyWw#x012345Rt ").find(first) != std::string_view::npos) ReadChordLine(content);
}

bool TabImport::StartNextPiece() {
  ClearPendingSlur();
  CSystemArray* added = AddSectionWithWizard(doc_);
  if (added == nullptr) return false;
  addedSections_.push_back(added);
  definitionIndex_ = 0;
  StartVoice();
  const size_t start = lines_->Tell();
  ScanTitle();
  if (!DetectMeter()) {
    CountImportLoss(kUnmeasuredPiece);
    return false;
  }
  lines_->Seek(start);
  return true;
}

size_t TabImport::LineAt(size_t offset) const {
  const std::string_view before = text_.substr(0, std::min(offset, text_.size()));
  return static_cast<size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}

void TabImport::ScanTitle() {
  const size_t start = lines_->Tell();
  std::string title;
  for (int i = 0; i < kTitleLines; ++i) {
    const std::optional<std::string_view> read = lines_->Next(kScanBuffer);
    if (!read) break;
    const std::string_view line = WithoutLineEnd(*read);
    const size_t brace = line.find('{');
    if (brace == std::string_view::npos) continue;
    const size_t dot = line.find('.', brace);
    const size_t from = dot != std::string_view::npos ? dot : brace;
    size_t cut = line.find('/', from);
    if (cut == std::string_view::npos) cut = line.find('}', from);
    if (cut == std::string_view::npos) cut = line.size();
    const std::string_view piece = TrimBlanks(line.substr(from + 1, cut - from - 1));
    if (piece.empty()) continue;
    if (!title.empty()) title += ' ';
    title += piece;
  }
  SetSectionName(Decode8BitText(title));
  SetSectionAuthor("");
  lines_->Seek(start);
}

bool TabImport::DetectMeter() {
  const size_t start = lines_->Tell();
  for (int i = 0; i < kMeterLookAhead; ++i) {
    const size_t offset = lines_->Tell();
    const std::optional<std::string_view> line = lines_->Next(kScanBuffer);
    if (!line) break;
    if (line->front() == 'S') {
      ReadMeterLine(*line);
      appliedMeterLine_ = offset;
      lines_->Seek(start);
      return true;
    }
    if (line->front() == 'b') {
      const std::optional<std::string_view> next = lines_->Next(kScanBuffer);
      if (next && (next->front() == 'c' || next->front() == 'C')) {
        lines_->Seek(start);
        return true;
      }
      break;
    }
  }
  // Otherwise the first bar is measured: the lines between the first two bar lines.
  lines_->Seek(start);
  for (;;) {
    const std::optional<std::string_view> line = lines_->Next(kScanBuffer);
    if (!line) {
      failure_ = "line " + std::to_string(LineAt(start)) +
                 ": no bar line (a line beginning with \"b\") from there to the end of the file";
      return false;
    }
    if (line->front() == 'b') break;
  }
  const size_t firstBar = lines_->Tell();
  int64_t sum = 0;
  int64_t value = 0;
  for (;;) {
    const std::optional<std::string_view> line = lines_->Next(kScanBuffer);
    if (!line) {
      failure_ = "line " + std::to_string(LineAt(firstBar) - 1) +
                 ": the file ends before a second bar line closes the first bar";
      return false;
    }
    if (line->front() == 'b') break;
    sum += MeterValue(*line, value);
  }
  switch (sum) {
    case 48: section_->numerator = 3, section_->denominator = 8; break;
    case 96: section_->numerator = 3, section_->denominator = 4; break;
    case 192: section_->numerator = 3, section_->denominator = 2; break;
    case 256: section_->numerator = 4, section_->denominator = 2; break;
    default: section_->numerator = 4, section_->denominator = 4; break;
  }
  lines_->Seek(start);
  return true;
}

void TabImport::ReadMeterLine(std::string_view line) {
  int64_t numerator = 4;
  int64_t denominator = 4;
  if (line.size() > 1 && IsDigit(line[1])) {
    size_t last = 1;
    numerator = line[1] - '0';
    if (line.size() > 2 && IsDigit(line[2])) {
      const int two = (line[1] - '0') * 10 + (line[2] - '0');
      if (two == 32) return;
      numerator = two == 34 ? 3 : two;
      last = 2;
    }
    size_t pos = last + 2;
    if (pos < line.size() && IsDigit(line[pos])) denominator = ReadBoundedNumber(line, pos);
  }
  if (!IsAcceptedTimeSignature(numerator, denominator)) return;
  voice_->AppendTimeSignature(static_cast<int32_t>(numerator), static_cast<int32_t>(denominator));
}

void TabImport::EndPiece() {
  ClearPendingSlur();
  voice_->push_back(std::make_shared<nChord>(kLeftRepeatBar));
  voice_->RebarVoice(section_->numerator, section_->denominator);
  std::string_view title = TrimBlanks(titleBuffer_);
  while (!title.empty() && title.front() == '{') title.remove_prefix(1);
  while (!title.empty() && title.back() == '}') title.remove_suffix(1);
  SetSectionName(Decode8BitText(title));
  titleBuffer_.clear();
}

// ---------------------------------------------------------------------------------------------
// Chord lines

void TabImport::ReadChordLine(std::string_view line) {
  ++chordLines_;
  // Shared from the start: a slur that begins on one of its notes keeps it.
  auto chord = std::make_shared<nChord>();
  positions_.fill(Position{});
  const size_t n = line.size();
  size_t i = 0;
  if (i < n && line[i] == '#') ++i;
  if (i < n && line[i] == 'R') ++i;
  if (i < n) {
    const char flag = line[i];
    if (const int code = RhythmOfFlag(flag); code >= 0) {
      rhythm_ = static_cast<uint32_t>(code);
    } else if (flag == 'Y' || flag == 'y') {
      chord->metaEvents.SetMetaEvent(CMetaEvent::kFermata, "", 1, 0, 0);
      chord->status = static_cast<uint16_t>(chord->status + 0x300);
    } else if (flag == 't') {
      rhythm_ |= kTripletFlag;
      ++tupletChords_;
      ++i;
    }
    ++i;
  }
  chord->rhythm = static_cast<uint16_t>(rhythm_);
  if (i < n && line[i] == '!') {
    if (i + 1 == n) {
      voice_->push_back(nullptr);
      return;
    }
    ++i;
  }
  if (i < n && line[i] == '.') {
    chord->rhythm |= kDottedFlag;
    ++i;
  }
  if (i >= n) {
    voice_->push_back(std::move(chord));
    return;
  }
  if (line[i] == '-' || line[i] == '#') ++i;
  ReadPositions(line, i, *chord);
  if (ConvertPositions(chord)) voice_->push_back(std::move(chord));
}

void TabImport::ReadPositions(std::string_view line, size_t i, nChord& chord) {
  const size_t n = line.size();
  int cursor = 0;
  int unknown = 0;
  // Positions from the tenth on are not kept, nor marks before the first.
  const auto at = [this](int position) -> Position* {
    return position >= 0 && static_cast<size_t>(position) < kPositions ? &positions_[static_cast<size_t>(position)]
                                                                        : nullptr;
  };
  const auto setFret = [&](int position, char c) {
    if (Position* p = at(position)) {
      p->fret = c;
    } else if (position >= 0) {
      CountImportLoss(kPastTheTenth);
    }
  };
  const auto setDecoration = [&](int position, char c) {
    if (Position* p = at(position)) p->decoration = c;
  };
  while (i < n) {
    const char c = line[i];
    bool counted = false;
    if (c == '\t') {
      // What follows a tab is another part of the line (a staff's note, words), not courses.
      CountImportLoss(kAfterATab);
      return;
    }
    if (c == ' ' || c == '-') {
      ++cursor;
      ++i;
    } else if ((c >= 'a' && c <= 'p') || IsDigit(c)) {
      setFret(cursor++, c);
      ++i;
    } else if (c >= 'E' && c <= 'I') {
      setFret(cursor++, static_cast<char>(c - 'A' + 'a'));
      ++i;
    } else if (c == 'N') {
      // Two digits: "N10" to "N14" name an open bass course; any other number gives the fret
      // character by its code.
      if (i + 2 < n) {
        const std::string_view digits = line.substr(i + 1, 2);
        size_t k = 0;
        const int64_t code = ReadBoundedNumber(digits, k, 255);
        if (k == 2 && code >= kFirstNamedCourse && code <= kLastNamedCourse) {
          setFret(cursor, 'a');
          if (Position* p = at(cursor)) p->course = static_cast<int8_t>(code - 1);
        } else {
          setFret(cursor, k == 2 ? static_cast<char>(code) : '\0');
        }
      }
      ++cursor;
      i = std::min(n, i + 3);
    } else if (c == '!') {
      const char next = i + 1 < n ? line[i + 1] : '\0';
      if (next == 'x') {
        setFret(cursor++, 'l');
        i += 2;
      } else if (next == '^') {
        setDecoration(++cursor, '^');
        i += 2;
      } else {
        ++i;
      }
    } else if (c == '#') {
      setDecoration(cursor, '#');
      ++i;
    } else if (c == 'X') {
      ++cursor;
      ++i;
    } else if (c == '{' || c == '}') {
      if (Position* p = at(cursor - 1)) p->slur = c;
      ++i;
    } else if (c == 'U') {
      setDecoration(cursor - 1, 'U');
      ++i;
    } else if ((c == '"' || c == '&') && i + 1 < n) {
      setDecoration(cursor - 1, line[i + 1]);
      i += 2;
    } else if (c == '\\' && i + 1 < n) {
      setDecoration(cursor, line[i + 1]);
      i += 2;
    } else if (kPreviousDecorations.find(c) != std::string_view::npos && cursor > 0) {
      setDecoration(cursor - 1, c);
      ++i;
    } else if (kCurrentDecorations.find(c) != std::string_view::npos) {
      setDecoration(cursor, c);
      ++i;
    } else if (c == '/') {
      ++cursor;
      ++i;
      counted = true;
    } else if (c == 'T') {
      if (chord.IsChord()) chord.SetLyric(Decode8BitText(line.substr(i + 1)));
      return;
    } else {
      ++i;
      counted = true;
    }
    if (counted) {
      ++unknown;
      if (i >= n || line[i] == 'w' || line[i] == 'W' || line[i] == '&' || unknown > 9) return;
    }
  }
}

bool TabImport::ConvertPositions(const std::shared_ptr<nChord>& handle) {
  nChord& chord = *handle;
  // The whole line is checked before any note is made, so that a dropped line leaves no note
  // behind (a slur could start on one).
  size_t last = kPositions;
  for (size_t p = 0; p < kPositions; ++p) {
    const char fret = positions_[p].fret;
    if (fret == 0 || fret == ' ') continue;
    if (!IsDigit(fret) && !(fret >= 'a' && fret <= 'r')) {
      CountImportLoss(kUnreadableLine);
      return false;
    }
    if (p == 6 && fret >= '4' && fret <= '8' && positions_[p].course < 0) {
      last = p + 1;
      break;
    }
  }
  // An open bass course on the seventh position ends what the line gives.
  for (size_t p = last; p < kPositions; ++p) {
    if (positions_[p].fret != 0 && positions_[p].fret != ' ') CountImportLoss(kAfterOpenBass);
  }
  for (size_t p = 0; p < last; ++p) {
    const Position& position = positions_[p];
    const int here = static_cast<int>(p);
    if (position.slur == '}' && slurChord_ != nullptr) CloseSlur(here - slurCourse_, std::nullopt);
    if (position.fret == 0 || position.fret == ' ') continue;
    int course = position.course >= 0 ? position.course : here;
    int fret = 0;
    if (p == 6 && position.fret >= '4' && position.fret <= '8' && position.course < 0) {
      // An open bass course: "4" is the eleventh course ... "8" the fifteenth.
      course = position.fret - '4' + 10;
    } else {
      fret = IsDigit(position.fret) ? position.fret - '0' : FretOfLetter(position.fret);
    }
    // A course the instrument lacks is added to it.
    nNotes* note = PlaceFret(chord, course, fret);
    if (note == nullptr) continue;
    ApplyDecoration(position.decoration, handle, *note, here);
    if (position.slur == '{') {
      note->slur &= 0x80FFu;
      if (((note->slur >> 8) & 0xF) != 4) note->SetSlurType(4);
      StartSlur(handle, *note);
    }
  }
  return true;
}

void TabImport::ApplyDecoration(char decoration, const std::shared_ptr<nChord>& chord, nNotes& note, int position) {
  if (decoration == 0) return;
  if (const int code = DecorationCode(decoration); code >= 0) {
    note.ToggleDecoration(code);
    return;
  }
  switch (decoration) {
    case '-': note.SetSlurShape(7); break;
    case 'u':
    case 'w': note.SetSlurShape(5); break;
    case '_': note.slur = 0x40; break;
    case 'U':
    case '{':
      note.SetSlurType(4);
      StartSlur(chord, note);
      break;
    case 'X':
      if (slurChord_ != nullptr) CloseSlur(0, 0x747u);
      break;
    case '}':
      if (slurChord_ != nullptr) CloseSlur(slurCourse_ - position, std::nullopt);
      break;
    default: break;
  }
}

void TabImport::StartSlur(const std::shared_ptr<nChord>& chord, nNotes& note) {
  // The chord is kept alive with the slur, whatever happens to the voice meanwhile.
  slurChord_ = chord;
  slurCourse_ = note.string;
}

nNotes* TabImport::PendingSlurNote() const {
  if (slurChord_ == nullptr || slurCourse_ < 0) return nullptr;
  return slurChord_->notes.NoteOnCourse(static_cast<uint8_t>(slurCourse_));
}

void TabImport::CloseSlur(int span, std::optional<uint32_t> endValue) {
  if (nNotes* start = PendingSlurNote()) {
    if (endValue) {
      start->slur = *endValue;
    } else {
      start->slur = 0x700u + static_cast<uint32_t>(std::abs(span) & 7) * 8 + 7 + (span < 0 ? 0x40u : 0u);
    }
  }
  ClearPendingSlur();
}

void TabImport::ClearPendingSlur() {
  slurChord_.reset();
  slurCourse_ = -1;
}

}  // namespace vornel

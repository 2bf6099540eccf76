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
constexpr uint16_t kEndBar = 0xB1;
// The chord mark of a flag that keeps its value but is not printed ("1!a").
constexpr uint16_t kNoFlagMark = 3;
// Lines the meter detection looks at.
constexpr int kMeterLookAhead = 40;

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

// A vowel (or "c", "n") under a TeX accent as UTF-8; empty for others.
std::string AccentedLetter(char accent, char letter) {
  static constexpr std::string_view kLetters = "aeiouAEIOU";
  const size_t vowel = kLetters.find(letter);
  // Latin-1 code points of the accented vowels, by accent, in the order of kLetters.
  static constexpr std::array<std::array<uint8_t, 10>, 5> kCodes = {{
      {0xE1, 0xE9, 0xED, 0xF3, 0xFA, 0xC1, 0xC9, 0xCD, 0xD3, 0xDA},  // '
      {0xE0, 0xE8, 0xEC, 0xF2, 0xF9, 0xC0, 0xC8, 0xCC, 0xD2, 0xD9},  // `
      {0xE2, 0xEA, 0xEE, 0xF4, 0xFB, 0xC2, 0xCA, 0xCE, 0xD4, 0xDB},  // ^
      {0xE4, 0xEB, 0xEF, 0xF6, 0xFC, 0xC4, 0xCB, 0xCF, 0xD6, 0xDC},  // "
      {0xE3, 0, 0, 0xF5, 0, 0xC3, 0, 0, 0xD5, 0},                    // ~
  }};
  static constexpr std::string_view kAccentOrder = "'`^\"~";
  uint32_t code = 0;
  if (vowel != std::string_view::npos) {
    code = kCodes[kAccentOrder.find(accent)][vowel];
  } else if (accent == '~' && (letter == 'n' || letter == 'N')) {
    code = letter == 'n' ? 0xF1 : 0xD1;
  }
  if (code == 0) return {};
  std::string utf8;
  utf8 += static_cast<char>(0xC0 | (code >> 6));
  utf8 += static_cast<char>(0x80 | (code & 0x3F));
  return utf8;
}

// The text of a heading line ("{...}") with the typesetter's escapes read: a leading "\CL/"
// (centred), font changes "^" and two digits, and the accents "\'a", "\`a", "\^a", "\"a",
// "\~a" and "\ss". Blank for a heading that only makes room.
std::string HeadingText(std::string_view content) {
  std::string_view inner = content.empty() ? content : content.substr(1);
  const size_t close = inner.rfind('}');
  if (close != std::string_view::npos) inner = inner.substr(0, close);
  inner = TrimBlanks(inner);
  if (inner.starts_with("\\CL/")) inner.remove_prefix(4);
  std::string text;
  for (size_t i = 0; i < inner.size(); ++i) {
    const char c = inner[i];
    if (c == '^' && i + 2 < inner.size() && IsDigit(inner[i + 1]) && IsDigit(inner[i + 2])) {
      i += 2;
      continue;
    }
    if (c == '\\' && i + 1 < inner.size()) {
      const char accent = inner[i + 1];
      if (inner.substr(i + 1).starts_with("ss")) {
        text += "\xC3\x9F";  // sharp s
        i += 2;
        continue;
      }
      static constexpr std::string_view kAccents = "'`^\"~";
      if (kAccents.find(accent) != std::string_view::npos && i + 2 < inner.size()) {
        const std::string accented = AccentedLetter(accent, inner[i + 2]);
        if (!accented.empty()) {
          text += accented;
          i += 2;
          continue;
        }
      }
    }
    text += c;
  }
  return text;
}

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
  noMusicToTheEnd_ = false;
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
  FinishSection();
  return 1;
}

void TabImport::StartVoice() {
  LookUpVoice();
  // The notes are spelled in the key of the instrument line they go to.
  key_ = definition_->key;
  ClearPieceTexts();
}

void TabImport::ClearPieceTexts() {
  SetSectionName("");
  SetSectionAuthor("");
  pieceHasMusic_ = false;
  pieceNamed_ = false;
}

bool TabImport::ReadAllPieces() {
  const size_t start = lines_->Tell();
  if (!DetectMeter()) return false;
  lines_->Seek(start);
  while (DispatchLine()) {
  }
  if (!failure_.empty()) return false;
  ClosePiece();
  return true;
}

void TabImport::ClosePiece() {
  ClearPendingSlur();
  for (size_t i = voice_->size(); i-- > 0;) {
    const nChord* e = voice_->at(i);
    if (e == nullptr || e->IsSpecialEvent()) continue;
    if (e->IsChord()) voice_->push_back(std::make_shared<nChord>(kEndBar));
    return;
  }
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
      ClosePiece();
      FinishSection();
      if (!StartNextPiece()) return false;
      lines_->Seek(resume);
      return true;
    }
  }
  return DispatchFromMeter(*line, offset);
}

bool TabImport::DispatchFromMeter(std::string_view line, size_t offset) {
  const char first = line.front();
  if (first == 'S' || first == 'C' || first == 'c') {
    // The meter detection may have applied this line already.
    if (appliedMeterLine_ != offset) ReadMeterLine(line);
    return true;
  }
  const std::string_view content = WithoutLineEnd(line);
  if (first == '{') {
    // A heading: blank ones ("{ }", and "{/}" that ends a section written here) make room.
    const std::string text = HeadingText(Decode8BitText(content));
    const size_t slash = text.find('/');
    Heading heading{std::string(TrimBlanks(std::string_view(text).substr(0, slash))),
                    slash == std::string::npos ? std::string()
                                               : std::string(TrimBlanks(std::string_view(text).substr(slash + 1)))};
    if (heading.name.empty() && heading.source.empty()) return true;
    return ReadHeading(heading);
  }
  if (first == '[') return true;  // words over a system ("Da capo")
  if (content == "bb") {
    voice_->push_back(std::make_shared<nChord>(kDoubleBar));
    return true;
  }
  if (content == "B" || content == "B!") {
    voice_->push_back(std::make_shared<nChord>(kEndBar));
    return true;
  }
  if (first == 'b') {
    // "bX" and "bL" are bar lines the numbering passes over.
    const bool uncounted = content.size() > 1 && (content[1] == 'X' || content[1] == 'L');
    voice_->push_back(std::make_shared<nChord>(kPlainBar, uncounted ? nChord::kSkipNumber : 0));
  }
  if (line.starts_with(".bb.") || line.starts_with("b.b")) {
    voice_->push_back(std::make_shared<nChord>(kThickBar));
    return true;
  }
  if (first == '.') {
    voice_->push_back(std::make_shared<nChord>(kDoubleBar));
    return true;
  }
  if (first == 'b') return true;
  if (std::string_view("YyWw#x012345Rt ").find(first) != std::string_view::npos) return ReadChordLine(content, offset);
  return true;
}

bool TabImport::ReadHeading(const Heading& heading) {
  if (!pieceHasMusic_) {
    ApplyHeading(heading);
    return true;
  }
  const size_t resume = lines_->Tell();
  const bool next = MusicFollows();
  lines_->Seek(resume);
  if (!next) {
    // A heading after the last music of the file: its words stay with the piece.
    AppendSource(heading.name);
    AppendSource(heading.source);
    return true;
  }
  ClosePiece();
  FinishSection();
  if (!StartNextPiece()) return false;
  lines_->Seek(resume);
  ApplyHeading(heading);
  return true;
}

bool TabImport::MusicFollows() {
  // Once no music follows, none follows any later heading either.
  if (noMusicToTheEnd_) return false;
  while (const std::optional<std::string_view> read = lines_->Next(kScanBuffer)) {
    const std::string_view line = WithoutLineEnd(*read);
    if (line.empty()) continue;
    if (line.front() == 'b' || std::string_view("YyWw#x012345Rt").find(line.front()) != std::string_view::npos) {
      return true;
    }
  }
  noMusicToTheEnd_ = true;
  return false;
}

void TabImport::ApplyHeading(const Heading& heading) {
  // The first name names the piece; the names after it and every source are its author text,
  // which the section heading prints beside the title.
  if (!pieceNamed_ && !heading.name.empty()) {
    SetSectionName(heading.name);
    pieceNamed_ = true;
  } else {
    AppendSource(heading.name);
  }
  AppendSource(heading.source);
}

void TabImport::AppendSource(std::string_view text) {
  if (text.empty()) return;
  std::string& author = section_->Author().text;
  if (!author.empty()) author += "; ";
  author += text;
}

bool TabImport::StartNextPiece() {
  ClearPendingSlur();
  CSystemArray* added = AddSectionWithWizard(doc_);
  if (added == nullptr) return false;
  addedSections_.push_back(added);
  definitionIndex_ = 0;
  StartVoice();
  const size_t start = lines_->Tell();
  if (!DetectMeter()) {
    // What came before stands; this piece and what follows are counted as not imported.
    CountImportLoss(kUnmeasuredPiece);
    failure_.clear();
    return false;
  }
  lines_->Seek(start);
  return true;
}

size_t TabImport::LineAt(size_t offset) const {
  const std::string_view before = text_.substr(0, std::min(offset, text_.size()));
  return static_cast<size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
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

// ---------------------------------------------------------------------------------------------
// Chord lines

bool TabImport::ReadChordLine(std::string_view line, size_t offset) {
  ++chordLines_;
  pieceHasMusic_ = true;
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
      return true;
    }
    // The flag keeps its value but is not printed.
    chord->status = static_cast<uint16_t>((chord->status & ~0x0F00u) | (kNoFlagMark << 8));
    ++i;
  }
  if (i < n && line[i] == '.') {
    chord->rhythm |= kDottedFlag;
    ++i;
  }
  if (i >= n) {
    voice_->push_back(std::move(chord));
    return true;
  }
  if (line[i] == '-' || line[i] == '#') ++i;
  if (!ReadPositions(line, i, *chord)) {
    // Frets past the last position: more than one chord written on the line, which the format
    // does not have (a line is one chord, its courses from the top), or more courses than a
    // line holds. Where one chord ends cannot be told: the file is refused rather than read
    // into nonsense.
    constexpr size_t kShown = 40;
    failure_ = "line " + std::to_string(LineAt(offset)) + ": \"" +
               Decode8BitText(line.substr(0, kShown)) + (line.size() > kShown ? "..." : "") +
               "\" is not one chord (a chord line holds one chord, its courses from the top, at most " +
               std::to_string(kPositions) + " positions)";
    return false;
  }
  if (ConvertPositions(chord)) voice_->push_back(std::move(chord));
  return true;
}

bool TabImport::ReadPositions(std::string_view line, size_t i, nChord& chord) {
  const size_t n = line.size();
  int cursor = 0;
  int unknown = 0;
  bool beyond = false;
  // Positions from the tenth on hold no fret, nor marks before the first.
  const auto at = [this](int position) -> Position* {
    return position >= 0 && static_cast<size_t>(position) < kPositions ? &positions_[static_cast<size_t>(position)]
                                                                        : nullptr;
  };
  const auto setFret = [&](int position, char c) {
    if (Position* p = at(position)) {
      p->fret = c;
    } else if (position >= 0) {
      beyond = true;
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
      return !beyond;
    }
    // A named ornament ("<!tilde>", "<!2mordent>"), also after the prefix and postfix
    // operators: its name is no fret.
    const size_t named = (c == '&' || c == '"' || c == '!') ? i + 1 : i;
    if (line.substr(named).starts_with("<!")) {
      const size_t close = line.find('>', named + 2);
      i = close == std::string_view::npos ? n : close + 1;
      continue;
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
      return !beyond;
    } else {
      ++i;
      counted = true;
    }
    if (counted) {
      ++unknown;
      if (i >= n || line[i] == 'w' || line[i] == 'W' || line[i] == '&' || unknown > 9) return !beyond;
    }
  }
  return !beyond;
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

// The ABC file: lines, header fields, keys, clefs and voices.

#include <algorithm>
#include <array>
#include <string>

#include "document/CBriotabDoc.h"
#include "document/InstrumentChooser.h"
#include "import/text/AbcText.h"
#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

struct ClefWord {
  std::string_view word;
  int kind;
};

// Codes 0-3 are staves of notation (their clefs in the order of the stave's clef ids);
// codes with bit 0x10 are tablatures.
constexpr std::array<ClefWord, 18> kClefWords = {{
    {"treble-8", 0x00},    {"treble", 0x01},     {"bass", 0x02},        {"alto", 0x03},
    {"frenchtab", 0x10},   {"french4tab", 0x11}, {"french5tab", 0x12},  {"spanishtab", 0x13},
    {"guitartab", 0x14},   {"spanish5tab", 0x15}, {"banjo5tab", 0x16},  {"spanish4tab", 0x17},
    {"banjo4tab", 0x18},   {"ukuleletab", 0x19}, {"italiantab", 0x1A}, {"italian7tab", 0x1B},
    {"italian5tab", 0x1C}, {"italian4tab", 0x1D},
}};
constexpr int kTablatureClef = 0x10;

struct CommentField {
  char letter;
  std::string_view label;
};
constexpr std::array<CommentField, 6> kCommentFields = {{{'B', "Book: "},
                                                         {'H', "History: "},
                                                         {'N', "Notes: "},
                                                         {'O', "Origin: "},
                                                         {'S', "Source: "},
                                                         {'Z', "Transcription note: "}}};

// Modes by their first three letters and the fifths they lie from the major key of the same
// tonic.
struct ModeName {
  std::string_view name;
  int fifths;
};
constexpr std::array<ModeName, 7> kModes = {
    {{"ion", 0}, {"dor", -2}, {"phr", -4}, {"lyd", 1}, {"mix", -1}, {"aeo", -3}, {"loc", -5}}};

// Fifths of the major keys on the natural tonics C D E F G A B.
constexpr std::array<int, 7> kMajorFifths = {0, 2, 4, -1, 1, 3, 5};

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view FirstWord(std::string_view text) {
  text = SkipBlanks(text);
  size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return text.substr(0, end);
}

std::string WithoutQuotes(std::string_view text) {
  std::string out(text);
  std::erase(out, '"');
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The file

size_t CAbcImport::ReadAbcFile(const std::string& path) {
  const ImportReport report(path);
  SetSource(path);
  const std::optional<std::string> bytes = OpenImportFile(path, kOpenFailedMessage);
  if (!bytes) return 0;
  const std::unique_ptr<CInstrumentDlg> chosen = ProposedInstrument(doc_);
  if (!InstrumentChoosers().ChooseInstrumentDefinition(*chosen)) return 0;
  return ReadAbcText(*bytes, *chosen);
}

size_t CAbcImport::ReadAbcText(std::string_view text, const CInstrumentDlg& instrument) {
  instrument_ = instrument.Clone();
  instrument_->EnsureStave();
  tunes_ = 0;
  tuneStarted_ = false;
  sectionsAdded_ = 0;
  ResetTune();
  StartTuneSection();

  LineReader lines(text);
  while (const std::optional<std::string_view> piece = lines.Next(kLineLength + 1)) {
    if (!ReadLine(Decode8BitText(WithoutLineEnd(*piece)))) break;
  }
  FinishSection();
  return sectionsAdded_;
}

void CAbcImport::ResetTune() {
  unitLog2_ = 2;
  lastCode_ = unitLog2_ + 1;
  key_ = CKey();
  clef_ = 0;
  voices_.clear();
  currentVoice_ = 0;
  definitionIndex_ = 0;
  tie_ = false;
  slurOpen_ = false;
  slurStart_.reset();
  slurNotes_ = 0;
  tupletLeft_ = 0;
  tupletNumber_ = 0;
  lineStart_ = 0;
  versesOfLine_ = 0;
}

void CAbcImport::StartTuneSection() {
  auto section = std::make_unique<CSystemArray>();
  section->definitions.replace(0, instrument_->Clone());
  section->definitions.at(0)->EnsureStave();
  // The import lays its music out over systems of its own.
  section->DeleteAllSystems();
  doc_.AppendSection(std::move(section));
  ++sectionsAdded_;
  definitionIndex_ = 0;
  LookUpVoice();
}

bool CAbcImport::ReadLine(std::string_view line) {
  if (line.empty() || line.front() == '%') return true;
  if (line.size() >= 2 && line[0] == 'w' && line[1] == ':') {
    if (voice_ != nullptr) SetAbcWords(*voice_, lineStart_, DecodeAbcEscapes(line.substr(2)), versesOfLine_++, lyricLines_);
    return true;
  }
  if (line.size() >= 2 && line[0] >= 'A' && line[0] <= 'Z' && line[1] == ':') {
    return ReadHeaderField(line[0], SkipBlanks(line.substr(2)));
  }
  // "[V:name]" at the start of a music line selects the voice the rest belongs to.
  if (line.starts_with("[V:")) {
    const size_t close = line.find(']');
    SelectVoice(FirstWord(line.substr(3, close == std::string_view::npos ? std::string_view::npos : close - 3)));
    if (close == std::string_view::npos) return true;
    line.remove_prefix(close + 1);
  }
  if ((clef_ & kTablatureClef) != 0) {
    ReadTablatureLine(line);
  } else {
    ReadNoteLine(line);
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Header fields

bool CAbcImport::ReadHeaderField(char letter, std::string_view field) {
  const std::string decoded = DecodeAbcEscapes(TrimBlanks(field));
  const std::string_view value = decoded;
  for (const CommentField& field : kCommentFields) {
    if (field.letter == letter) {
      AppendSectionComment(field.label, value);
      return true;
    }
  }
  switch (letter) {
    case 'X': {
      Prompts().ShowStatusText("sect." + std::to_string(tunes_));
      if (tunes_ >= kMaxTunes) return false;
      ++tunes_;
      size_t pos = 0;
      const int64_t number = ReadBoundedNumber(value, pos);
      if (tuneStarted_ && number >= 1) {
        FinishSection();
        StartTuneSection();
      }
      tuneStarted_ = true;
      ResetTune();
      LookUpVoice();
      break;
    }
    case 'T':
    case 'P':
      AppendSectionName(value);
      break;
    case 'C':
      AppendSectionAuthor(value);
      break;
    case 'K':
      ReadKeyField(value);
      if (currentVoice_ < voices_.size()) voices_[currentVoice_].clef = clef_;
      break;
    case 'L':
      ReadUnitLength(value);
      break;
    case 'M':
      ReadMeterField(value);
      break;
    case 'Q':
      ReadTempoField(value);
      break;
    case 'V':
      ReadVoiceField(value);
      break;
    case 'W':
      if (!words_.empty()) words_ += '\n';
      words_ += value;
      break;
    default:
      break;
  }
  return true;
}

void CAbcImport::ReadTempoField(std::string_view value) {
  if (value.empty() || value.front() < '0' || value.front() > '9') {
    AppendSectionName(value);
    return;
  }
  const size_t equals = value.find('=');
  if (equals == std::string_view::npos) {
    section_->tempo = 120;
    return;
  }
  size_t pos = equals + 1;
  while (pos < value.size() && IsBlank(value[pos])) ++pos;
  const int64_t tempo = ReadBoundedNumber(value, pos);
  section_->tempo = tempo < 21 || tempo > 299 ? 100 : static_cast<int32_t>(tempo);
}

void CAbcImport::ReadMeterField(std::string_view value) {
  int64_t numerator = section_->numerator;
  int64_t denominator = section_->denominator;
  if (!value.empty() && value.front() == 'C') {
    denominator = 4;
  } else if (!value.empty() && value.front() >= '0' && value.front() <= '9') {
    size_t pos = 0;
    numerator = ReadBoundedNumber(value, pos);
    while (pos < value.size() && IsBlank(value[pos])) ++pos;
    if (pos < value.size() && value[pos] == '/') {
      ++pos;
      while (pos < value.size() && IsBlank(value[pos])) ++pos;
      denominator = ReadBoundedNumber(value, pos);
    }
  } else {
    return;
  }
  if (!IsAcceptedTimeSignature(numerator, denominator)) return;
  section_->numerator = static_cast<int32_t>(numerator);
  section_->denominator = static_cast<int32_t>(denominator);
}

void CAbcImport::ReadUnitLength(std::string_view value) {
  const size_t slash = value.find('/');
  if (slash == std::string_view::npos) return;
  size_t pos = slash + 1;
  if (pos >= value.size() || value[pos] < '0' || value[pos] > '9') return;
  const int64_t length = ReadBoundedNumber(value, pos);
  // Unit lengths are whole notes divided by a power of two up to 64.
  if (length < 1 || length > 64 || (length & (length - 1)) != 0) return;
  unitLog2_ = FloorLog2(static_cast<uint64_t>(length));
}

std::optional<int> CAbcImport::FindClefKind(std::string_view value) {
  std::optional<int> found;
  while (!(value = SkipBlanks(value)).empty()) {
    std::string_view word = FirstWord(value);
    value.remove_prefix(word.size());
    if (word.starts_with("clef=")) word.remove_prefix(5);
    const std::string lower = AsciiLower(word);
    std::optional<int> kind;
    size_t longest = 0;
    for (const ClefWord& clef : kClefWords) {
      if (lower.starts_with(clef.word) && clef.word.size() > longest) {
        kind = clef.kind;
        longest = clef.word.size();
      }
    }
    // Tablatures of other shapes ("italian8tab", "germantab") are still tablatures.
    if (!kind && lower.size() > 3 && lower.ends_with("tab")) kind = kTablatureClef;
    if (kind) found = kind;
  }
  return found;
}

void CAbcImport::ReadKeyField(std::string_view value) {
  value = SkipBlanks(value);
  if (!value.empty() && value.front() >= 'A' && value.front() <= 'G') {
    const std::string lower = AsciiLower(value);
    int modeFifths = 0;
    for (const ModeName& mode : kModes) {
      if (lower.find(mode.name) != std::string::npos) {
        modeFifths = mode.fifths;
        break;
      }
    }
    static constexpr std::array<int, 7> kStepOfLetter = {5, 6, 0, 1, 2, 3, 4};  // A ... G to C = 0
    int fifths = kMajorFifths[static_cast<size_t>(kStepOfLetter[static_cast<size_t>(value.front() - 'A')])];
    size_t pos = 1;
    while (pos < value.size() && IsBlank(value[pos])) ++pos;
    if (pos < value.size() && value[pos] == '#') {
      fifths += 7;
      ++pos;
    } else if (pos < value.size() && value[pos] == 'b') {
      fifths -= 7;
      ++pos;
    }
    // A lower-case "m" marks the minor, unless it begins "maj" or "mix".
    const bool minor = pos < value.size() && value[pos] == 'm' && !lower.substr(pos).starts_with("maj") &&
                       !lower.substr(pos).starts_with("mix");
    fifths += minor ? -3 : modeFifths;
    key_.SetSignature(std::clamp(fifths, -7, 7), minor);
  }
  if (const std::optional<int> kind = FindClefKind(value)) clef_ = *kind;
}

void CAbcImport::ReadVoiceField(std::string_view value) {
  const std::string_view id = FirstWord(value);
  if (id.empty()) return;
  std::string_view rest = SkipBlanks(value).substr(id.size());
  const auto known = std::find_if(voices_.begin(), voices_.end(), [&](const AbcVoice& v) { return v.id == id; });
  if (known != voices_.end()) {
    SelectVoice(id);
  } else {
    AbcVoice voice;
    voice.id = std::string(id);
    if (voices_.empty()) {
      voice.definition = definitionIndex_;
    } else {
      section_->AddInstrument(instrument_->Clone());
      voice.definition = section_->definitions.size() - 1;
    }
    voices_.push_back(voice);
    currentVoice_ = voices_.size() - 1;
    definitionIndex_ = voice.definition;
    LookUpVoice();
  }
  // The rest of the field reads like a key field: its tonic (if any) and its clef.
  const size_t namePos = rest.find("name=");
  ReadKeyField(rest);
  voices_[currentVoice_].clef = clef_;
  if (namePos != std::string_view::npos) {
    const std::string_view afterName = rest.substr(namePos + 5);
    std::string name;
    if (!afterName.empty() && afterName.front() == '"') {
      const size_t close = afterName.find('"', 1);
      name = std::string(afterName.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    } else {
      name = WithoutQuotes(FirstWord(afterName));
    }
    if (!name.empty()) definition_->nameText.text = name;
  }
  // A notation clef shows the voice on a staff of that clef, a tablature clef on a tablature.
  if (!definition_->staves.empty()) {
    CClef& stave = *definition_->staves.at(0);
    if ((clef_ & kTablatureClef) != 0) {
      stave.type = CClef::kTablature;
    } else {
      stave.type = CClef::kStaff;
      stave.clefId = clef_;
    }
  }
  LookUpVoice();
}

void CAbcImport::SelectVoice(std::string_view id) {
  for (size_t v = 0; v < voices_.size(); ++v) {
    if (voices_[v].id != id) continue;
    currentVoice_ = v;
    definitionIndex_ = voices_[v].definition;
    clef_ = voices_[v].clef;
    // A slur or tuplet does not run on into another voice.
    slurOpen_ = false;
    slurStart_.reset();
    tupletLeft_ = 0;
    LookUpVoice();
    return;
  }
}

}  // namespace vornel

#include "import/tabrite/TabriteImport.h"

#include <algorithm>
#include <vector>

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

constexpr int64_t kTextRecord = 999;
constexpr int32_t kStavesPerPage = 6;
constexpr int32_t kLeftOffset = -7;
// Offsets of the meta-events made from side texts.
constexpr int32_t kSideTextCx = 160;
constexpr int32_t kSideTextCy = -160;

struct Direction {
  std::string_view code;
  std::string_view text;
};
constexpr std::array<Direction, 9> kDirections = {{{"81", "D.S."},
                                                   {"82", "D.C."},
                                                   {"83", "Fine"},
                                                   {"84", "Coda"},
                                                   {"85", "D.C. al coda"},
                                                   {"86", "D.C. al fine"},
                                                   {"87", "Repeat"},
                                                   {"88", "D.S. al coda"},
                                                   {"89", "D.S. al fine"}}};

// The fields of a line: leading separators, quotation marks and blanks are passed over, and a
// field ends at its separator or at the line end.
std::vector<std::string_view> Fields(std::string_view line, char separator, size_t count) {
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (fields.size() < count) {
    while (pos < line.size() && (line[pos] == separator || line[pos] == '"' || IsBlank(line[pos]))) ++pos;
    const size_t end = std::min(line.find(separator, pos), line.size());
    fields.push_back(line.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

int64_t NumberOf(std::string_view field) {
  size_t pos = 0;
  const bool negative = !field.empty() && field.front() == '-';
  if (negative) pos = 1;
  const int64_t value = ReadBoundedNumber(field, pos);
  return negative ? -value : value;
}

std::string WithoutQuotes(std::string_view text) {
  std::string out(text);
  std::erase(out, '"');
  return Decode8BitText(out);
}

bool StartsWithDigit(std::string_view text) { return !text.empty() && text.front() >= '0' && text.front() <= '9'; }

}  // namespace

TabriteImport::TabriteImport(CBriotabDoc& doc) : CAbcImport(doc) {}

TabriteImport::~TabriteImport() = default;

uint16_t TabriteImport::FlagsOfDuration(int64_t code) {
  static constexpr std::array<uint16_t, 12> kFlags = {0, 0x15, 5, 0x14, 4, 12, 0x13, 3, 11, 2, 10, 1};
  if (code >= 94) code -= 92;
  return code >= 1 && code <= 11 ? kFlags[static_cast<size_t>(code)] : 0;
}

int TabriteImport::ReadFile(const std::string& path) {
  const std::optional<std::string> bytes = OpenImportFile(path, kOpenFailedMessage);
  if (!bytes) return 0;
  ReadText(*bytes);
  return 1;
}

void TabriteImport::ReadText(std::string_view bytes) {
  definitionIndex_ = 0;
  LookUpVoice();
  key_ = definition_->key;
  section_->stavesPerPage = kStavesPerPage;
  SetSectionName("");
  SetSectionAuthor("");
  section_->Comments().text.clear();
  section_->leftOffset = kLeftOffset;
  pendingDirection_.clear();
  pendingEnding_.clear();
  LineReader lines(bytes);
  while (const std::optional<Record> record = ReadRecord(lines)) ConvertRecord(*record);
  FinishSection();
}

std::optional<TabriteImport::Record> TabriteImport::ReadRecord(LineReader& lines) {
  std::array<std::string_view, 3 + kCourses> text;
  for (std::string_view& line : text) {
    const std::optional<std::string_view> read = lines.Next(kLineBuffer);
    if (!read) return std::nullopt;
    line = WithoutLineEnd(*read);
  }
  Record record;
  const std::vector<std::string_view> first = Fields(text[0], ',', 3);
  const std::vector<std::string_view> second = Fields(text[1], ',', 4);
  const std::vector<std::string_view> third = Fields(text[2], ',', 5);
  for (size_t i = 0; i < 3; ++i) record.numbers[i] = NumberOf(first[i]);
  for (size_t i = 0; i < 4; ++i) record.numbers[3 + i] = NumberOf(second[i]);
  record.numbers[7] = NumberOf(third[0]);
  for (size_t i = 0; i < 4; ++i) record.sideTexts[i] = WithoutQuotes(third[1 + i]);
  for (size_t c = 0; c < kCourses; ++c) record.courseTexts[c] = Decode8BitText(Fields(text[3 + c], '"', 1)[0]);
  return record;
}

void TabriteImport::ConvertRecord(const Record& record) {
  if (record.numbers[0] == 0) {
    SetSectionName(record.sideTexts[3]);
    SetSectionAuthor(record.courseTexts[0]);
    section_->Comments().text = record.courseTexts[1];
    return;
  }
  if (record.numbers[1] == kTextRecord) {
    const std::string& text = record.courseTexts[1];
    const auto direction =
        std::find_if(kDirections.begin(), kDirections.end(), [&](const Direction& d) { return d.code == text; });
    if (direction != kDirections.end()) {
      pendingDirection_ = std::string(direction->text);
    } else {
      pendingEnding_ = text;
    }
    return;
  }

  auto chord = std::make_shared<nChord>();
  chord->rhythm = FlagsOfDuration(record.numbers[1]);
  std::shared_ptr<nChord> second;
  nNotes* lastNote = nullptr;
  for (size_t c = 0; c < kCourses; ++c) {
    const std::string& text = record.courseTexts[c];
    if (!StartsWithDigit(text)) continue;
    const int course = static_cast<int>(c);
    size_t pos = 0;
    // A fret that gives no MIDI pitch adds no note.
    nNotes* note = PlaceFret(*chord, course, ReadBoundedNumber(text, pos));
    if (note == nullptr) continue;
    lastNote = note;
    const size_t tie = text.find_first_of("-=");
    if (tie != std::string::npos) {
      note->slur = 0x40;
      const std::string_view after = std::string_view(text).substr(tie + 1);
      if (!after.empty()) {
        // The two frets share the value: the first chord is halved once, the second follows.
        if (second == nullptr) {
          chord->rhythm = ShiftRhythmCode(chord->rhythm, 1);
          second = std::make_shared<nChord>();
        }
        if (StartsWithDigit(after)) {
          size_t p = 0;
          PlaceFret(*second, course, ReadBoundedNumber(after, p));
        }
      }
    }
    if (text.find('^') != std::string::npos) note->slur = 0x80;
    if (text.find('>') != std::string::npos) note->slur = 0x500;
  }
  if (second != nullptr) second->rhythm = chord->rhythm;
  // Side texts belong to this record's chord and its last note, never to an earlier one.
  for (size_t i = record.sideTexts.size(); i-- > 0;) ApplySideText(i, record.sideTexts[i], *chord, lastNote);
  if (!pendingDirection_.empty()) {
    chord->metaEvents.SetMetaEvent(CMetaEvent::kCaption, pendingDirection_, kDirectionCaption, 0, 0);
    pendingDirection_.clear();
  }
  if (!pendingEnding_.empty()) {
    chord->metaEvents.SetMetaEvent(CMetaEvent::kEnding, pendingEnding_, kEndingValue, 0, 0);
    pendingEnding_.clear();
  }
  voice_->push_back(std::move(chord));
  if (second != nullptr) voice_->push_back(std::move(second));
}

void TabriteImport::ApplySideText(size_t index, const std::string& text, nChord& chord, nNotes* lastNote) {
  if (text.empty()) return;
  if (text.size() == 1) {
    uint32_t slur = 0;
    switch (text[0]) {
      case 's':
      case 'S': slur = 0x340; break;
      case 'p':
      case 'P': slur = 0x140; break;
      case 'h':
      case 'H': slur = 0x240; break;
      default: break;
    }
    if (slur != 0) {
      if (lastNote != nullptr) lastNote->slur = slur;
      return;
    }
  }
  uint8_t kind = CMetaEvent::kChordName;
  uint32_t value = 0;
  if (index == 1) kind = CMetaEvent::kLyrics;
  if (index == 2) {
    kind = CMetaEvent::kCaption;
    value = kSideCaption;
  }
  CMetaEvent* event = chord.metaEvents.SetMetaEvent(kind, text, value, 0, 0);
  event->location.SetOffset(EventLocation::kTablature, kSideTextCx, kSideTextCy);
}

}  // namespace vornel

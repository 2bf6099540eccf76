#include "import/ft2/Ft2Import.h"

#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "document/CBriotabDoc.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

// Raised by every read past the end of the bytes.
struct OutOfRange {};

constexpr uint16_t kPlainBar = 0x11;
constexpr uint16_t kLeftRepeatBar = 0x81;
constexpr uint16_t kTimeSignatureBar = 5;
constexpr uint16_t kRightStaticSpace = 0x182;
constexpr uint32_t kTimeSignatureFlags = 0xF0004;
constexpr uint32_t kTextCaption = 0x10020000;
constexpr int32_t kMultiTrackStavesPerPage = 4;
// Where the tuning lies, counted back from the end, and how many bytes it takes.
constexpr size_t kTuningFromEnd = 64;
constexpr size_t kTuningBytes = 58;
constexpr size_t kTrackTuningBytes = 20;
constexpr size_t kTrackTuningStepBack = 9;
constexpr size_t kCutTrackSkip = 26;
constexpr size_t kTrailerSearch = 250;
constexpr size_t kTitleSearch = 2500;

// MIDI pitches of a tuning block: after at most 16 leading zero bytes, up to 16 non-zero
// bytes, each masked to seven bits. Nothing when the first 16 bytes are all zero.
std::optional<std::vector<int>> TuningOf(std::span<const uint8_t> block) {
  size_t i = 0;
  while (i < block.size() && i < 16 && block[i] == 0) ++i;
  if (i >= 16 || i >= block.size()) return std::nullopt;
  std::vector<int> pitches;
  for (; i < block.size() && pitches.size() < nTuning::kMaxCourses && block[i] != 0; ++i) {
    pitches.push_back(block[i] & 0x7F);
  }
  return pitches;
}

void ApplyTuning(CInstrumentDlg& definition, const std::vector<int>& pitches) {
  CTabInstrument& tablature = definition.tabInstrument;
  tablature.tuning.SetFromPitches(static_cast<int>(pitches.size()), pitches.data());
  tablature.tuning.lines = std::min<int32_t>(tablature.tuning.lines, static_cast<int32_t>(pitches.size()));
  tablature.tuningText = tablature.tuning.GetTuningText();
  tablature.tabStyle = CTabInstrument::kFrench;
}

// A rich text reduced to its plain words: leading "\viewkind" lines dropped, everything up to
// the first blank dropped, and the rest cut before its last "\" (else its last line end).
std::string ReduceRichText(std::string text) {
  while (text.starts_with("\\viewkind")) {
    const size_t end = text.find('\n');
    text = end == std::string::npos ? std::string() : text.substr(end + 1);
  }
  if (const size_t blank = text.find(' '); blank != std::string::npos) text.erase(0, blank + 1);
  if (const size_t slash = text.rfind('\\'); slash != std::string::npos) {
    text.erase(slash);
  } else if (const size_t end = text.rfind('\n'); end != std::string::npos) {
    text.erase(end);
  }
  return Decode8BitText(text);
}

// The fret of an entry's fret character on a course; -1 for no note.
int FretOfEntry(uint8_t c, int course) {
  if (c > '9' && c < 'a') c = static_cast<uint8_t>(c + 0x32);
  if (c >= '0' && c <= '9') return course >= 6 ? 0 : c - '0';
  return FretOfLetter(static_cast<char>(c));
}

int OrnamentCode(int value) {
  switch (value) {
    case 2:
    case 4:
    case 24: return 32;
    case 6:
    case 12:
    case 14: return 33;
    case 8: return 25;
    case 10:
    case 22: return 24;
    case 16: return 26;
    case 18: return 29;
    case 20: return 19;
    case 28: return 28;
    case 30: return 27;
    case 34: return 1;
    case 36: return 2;
    case 38: return 3;
    case 40: return 4;
    default: return -1;
  }
}

void ApplyDecorations(nNotes& note, uint8_t fingering, uint8_t ornament) {
  switch (fingering & 0x0F) {
    case 2: note.ToggleDecoration(15); break;
    case 4: note.ToggleDecoration(8); break;
    case 8: note.ToggleDecoration(10); break;
    case 10: note.ToggleDecoration(14); break;
    default: break;
  }
  switch (fingering >> 4) {
    case 2: note.ToggleDecoration(1); break;
    case 4: note.ToggleDecoration(2); break;
    case 8: note.ToggleDecoration(3); break;
    default: break;
  }
  if ((ornament & 1) != 0) note.ToggleDecoration(4);
  if (const int code = OrnamentCode(ornament & ~1); code >= 0) note.ToggleDecoration(code);
}

bool IsTitleCharacter(uint8_t c) { return (c >= 0x20 && c <= 0x7A) || c == '\r' || c == '\n'; }

}  // namespace

// The bytes of the file with a read position; every read past the end raises OutOfRange.
struct Ft2Import::Reader {
  std::span<const uint8_t> bytes;
  size_t pos = 0;

  size_t Remaining() const { return bytes.size() - pos; }
  void Need(size_t n) const {
    if (n > Remaining()) throw OutOfRange{};
  }
  uint8_t U8() {
    Need(1);
    return bytes[pos++];
  }
  uint16_t U16() {
    Need(2);
    const uint16_t value = static_cast<uint16_t>(bytes[pos] | (bytes[pos + 1] << 8));
    pos += 2;
    return value;
  }
  std::span<const uint8_t> Take(size_t n) {
    Need(n);
    const std::span<const uint8_t> taken = bytes.subspan(pos, n);
    pos += n;
    return taken;
  }
  void Skip(size_t n) { Take(n); }
  std::string Text(size_t n) {
    const std::span<const uint8_t> taken = Take(n);
    return std::string(taken.begin(), taken.end());
  }
  // A string with a length byte; 0xFF announces a length word.
  std::string Ft2ReadString() {
    size_t length = U8();
    if (length == 0xFF) length = U16();
    return Text(length);
  }
  // A string with a length word.
  std::string Ft2ReadShortString() { return Text(U16()); }
};

Ft2Import::Ft2Import(CBriotabDoc& doc) : doc_(doc) {}

Ft2Import::~Ft2Import() = default;

std::optional<std::vector<uint8_t>> ReadGzipFile(const std::string& path, size_t limit) {
  std::FILE* file = OpenFileForReading(path);
  if (file == nullptr) return std::nullopt;
  const int fd = ::dup(::fileno(file));
  std::fclose(file);
  if (fd < 0) return std::nullopt;
  gzFile gz = gzdopen(fd, "rb");
  if (gz == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  std::array<uint8_t, 1 << 16> buffer;
  bool failed = false;
  for (;;) {
    const int n = gzread(gz, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (n < 0 || static_cast<size_t>(n) > limit - bytes.size()) {
      failed = true;
      break;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + n);
  }
  gzclose(gz);
  if (failed) return std::nullopt;
  return bytes;
}

size_t Ft2Import::ReadFile(const std::string& path) {
  const std::optional<std::vector<uint8_t>> bytes = ReadGzipFile(path, kMaxFileBytes);
  if (!bytes) {
    completed_ = false;
    Prompts().ShowMessage(kUnzipFailedMessage, MessageKind::kWarning);
    return 0;
  }
  return ReadBytes(*bytes, path);
}

size_t Ft2Import::ReadBytes(std::span<const uint8_t> bytes, std::string_view name) {
  name_ = std::string(name);
  added_ = 0;
  completed_ = true;
  Reader in{bytes};
  try {
    if (!ReadHeader(in)) {
      completed_ = false;
      return 0;
    }
  } catch (const OutOfRange&) {
    Prompts().ShowMessage(std::string(kDamagedMessage) + name_, MessageKind::kWarning);
    completed_ = false;
    return 0;
  }
  const int more = Ft2ReadTrailerText(bytes);
  const size_t pieces = more < 0 ? 1 : std::min<size_t>(static_cast<size_t>(more) + 1, kMaxPieces);
  for (size_t p = 0; p < pieces; ++p) {
    if (Ft2ImportPiece(in) < 0) {
      completed_ = false;
      break;
    }
  }
  return added_;
}

bool Ft2Import::ReadHeader(Reader& in) {
  version_ = in.U16();
  if (version_ < 20 || version_ > 22) {
    Prompts().ShowMessage(std::string(kVersionMessage) + std::to_string(version_), MessageKind::kWarning);
    return false;
  }
  in.Skip(17 * 2);
  in.Skip(294);
  in.Skip(version_ == 22 ? 38 : 34);
  in.Ft2ReadString();
  author_ = Decode8BitText(in.Ft2ReadString());
  in.Skip(22);
  in.Skip(2 * 2);
  in.Ft2ReadShortString();
  in.Skip(4 * 2);
  std::array<std::string, 6> strings;
  for (std::string& s : strings) s = in.Ft2ReadString();
  comments_ = ReduceRichText(strings[0]);
  endText_ = ReduceRichText(strings[2]);
  in.Skip(2);
  const size_t count = in.U16();
  in.Skip(count * 4);
  in.Skip(12);
  for (size_t t = 0; t < count; ++t) in.Ft2ReadString();
  in.Skip(count * 11);
  in.Skip(20);
  tracks_ = std::clamp<size_t>(count, 1, kMaxTracks);
  while (in.U16() != 0xFFFF) {
  }
  in.Skip(2);
  in.Ft2ReadShortString();
  return true;
}

int Ft2Import::Ft2ReadTrailerText(std::span<const uint8_t> bytes) {
  title_ = std::string(kNoTitle);
  // The marker: 0x03 or 0x01 followed by 0x80 among the last bytes, the last one first.
  const size_t from = bytes.size() > kTrailerSearch ? bytes.size() - kTrailerSearch : 0;
  std::optional<size_t> marker;
  for (size_t i = bytes.size(); i-- > from + 1;) {
    if (bytes[i] == 0x80 && (bytes[i - 1] == 0x03 || bytes[i - 1] == 0x01)) {
      marker = i - 1;
      break;
    }
  }
  if (!marker || *marker < 2) return -1;
  const int pieces = bytes[*marker - 2] | (bytes[*marker - 1] << 8);

  // The title: the longer of the first two readable strings of the block before the marker.
  const size_t blockStart = *marker > kTitleSearch ? *marker - kTitleSearch : 0;
  std::vector<std::string> found;
  for (size_t i = blockStart; i < *marker && found.size() < 2;) {
    const size_t length = bytes[i];
    if (length > 4 && length <= *marker - i - 1 &&
        std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(i + 1),
                    bytes.begin() + static_cast<std::ptrdiff_t>(i + 1 + length), IsTitleCharacter)) {
      found.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(i + 1),
                         bytes.begin() + static_cast<std::ptrdiff_t>(i + 1 + length));
      i += 1 + length;
    } else {
      ++i;
    }
  }
  if (!found.empty()) {
    title_ = found.size() > 1 && found[1].size() > found[0].size() ? found[1] : found[0];
  }
  return pieces - 1;
}

int Ft2Import::Ft2ImportPiece(Reader& in) {
  const std::span<const uint8_t> bytes = in.bytes;
  if (bytes.size() < kTuningFromEnd) {
    Prompts().ShowMessage(std::string(kDamagedMessage) + name_, MessageKind::kWarning);
    return -1;
  }
  const std::optional<std::vector<int>> tuning = TuningOf(bytes.subspan(bytes.size() - kTuningFromEnd, kTuningBytes));
  if (!tuning) {
    Prompts().ShowMessage(kCorruptTuningMessage, MessageKind::kError, kCorruptTuningCaption);
    return -1;
  }

  auto made = std::make_unique<CSystemArray>();
  made->DeleteAllSystems();
  ApplyTuning(*made->definitions.at(0), *tuning);
  section_ = doc_.AppendSection(std::move(made));
  ++added_;
  key_ = CKey();
  section_->Title().text = title_;
  section_->Author().text = author_;
  section_->Comments().text = comments_;
  section_->EndText().text = endText_;
  if (tracks_ > 1) section_->stavesPerPage = kMultiTrackStavesPerPage;

  bool read = true;
  try {
    for (size_t t = 0; t < tracks_ && read; ++t) {
      read = ReadTrackEvents(in, *section_->definitions.at(t));
      if (read && t + 1 < tracks_) section_->AddInstrument(section_->definitions.at(0)->Clone());
    }
  } catch (const OutOfRange&) {
    read = false;
  }
  FinishPiece();
  if (!read) {
    Prompts().ShowMessage(std::string(kDamagedMessage) + name_, MessageKind::kWarning);
    return -1;
  }
  return 1;
}

void Ft2Import::FinishPiece() {
  FinishTextImportSection(*section_, 0, key_);
  pendingText_.clear();
}

bool Ft2Import::ReadTrackEvents(Reader& in, CInstrumentDlg& definition) {
  const std::span<const uint8_t> header = in.Take(7);
  const size_t announced = header[0] | (header[1] << 8);
  if (header[4] != 0) section_->tempo = header[4];
  numerator_ = 4;
  denominator_ = 4;
  std::vector<ft_chord> records;
  size_t bars = 1;
  ReadBarHeader(in, records, true);
  bool cut = false;
  for (;;) {
    ft_chord record;
    const int result = ReadRecord(in, record);
    if (result == 0) break;
    if (result < 0) {
      cut = true;
      break;
    }
    const bool barFollows = record.barHeaderFollows;
    records.push_back(std::move(record));
    if (!barFollows) continue;
    try {
      ReadBarHeader(in, records, false);
      ++bars;
    } catch (const OutOfRange&) {
      cut = true;
      break;
    }
  }
  if (cut && bars < announced) in.Skip(std::min(kCutTrackSkip, in.Remaining()));
  if (!cut && bars > announced && in.pos >= kTrackTuningStepBack) {
    // A track with more bars than it announced carries its own tuning here.
    in.pos -= kTrackTuningStepBack;
    if (in.Remaining() >= kTrackTuningBytes) {
      if (const std::optional<std::vector<int>> tuning = TuningOf(in.Take(kTrackTuningBytes))) {
        ApplyTuning(definition, *tuning);
      }
    } else {
      in.pos += kTrackTuningStepBack;
    }
  }

  nChordArray& voice = definition.gathered[0];
  for (const ft_chord& record : records) ConvertRecord(record, voice, definition);
  voice.push_back(std::make_unique<nChord>(kLeftRepeatBar));
  voice.RebarAndFreeFixedBars(section_->numerator, section_->denominator);
  return !cut;
}

void Ft2Import::ReadBarHeader(Reader& in, std::vector<ft_chord>& records, bool first) {
  const std::span<const uint8_t> header = in.Take(8);
  in.Skip(15);
  const int code = header[1] & 0x0F;
  int numerator = header[2] & 0x0F;
  int denominator = code <= 6 ? 1 << code : 0;
  if (first && code == 0 && numerator == 0) {
    numerator = 4;
    denominator = 4;
  }
  if (!IsAcceptedTimeSignature(numerator, denominator)) return;
  if (first) {
    section_->numerator = numerator;
    section_->denominator = denominator;
  }
  if (numerator == numerator_ && denominator == denominator_) return;
  ft_chord change;
  change.kind = ft_chord::kTimeSignature;
  change.numerator = numerator;
  change.denominator = denominator;
  change.afterFirstBar = !first;
  change.position = in.pos;
  records.push_back(std::move(change));
  numerator_ = numerator;
  denominator_ = denominator;
}

int Ft2Import::ReadRecord(Reader& in, ft_chord& record) {
  try {
    record.position = in.pos;
    const uint8_t first = in.U8();
    if (first == 0x90) {
      in.Skip(7);
      in.Skip(size_t{in.U8()} + 2);
      record.text = in.Text(in.U8());
      in.Skip(2 + 1);
      record.kind = ft_chord::kText;
      return 1;
    }
    size_t count = first;
    if ((first & 0xF0) == 0xF0 || first == 0) {
      in.Skip(1);
      count = in.U8();
    }
    if (count == 0) return 0;
    record.count = static_cast<uint8_t>(count);
    const std::span<const uint8_t> entries = in.Take(5 * count);
    record.bytes.assign(entries.begin(), entries.end());
    if ((record.bytes[1] & 0xC0) == 0 && (record.bytes[4] & 0xC0) == 0) return 1;

    // An extended record: a bar, perhaps with a legato, then the next bar header.
    record.kind = ft_chord::kBar;
    record.barHeaderFollows = true;
    const std::span<const uint8_t> extra = in.Take(9);
    const size_t groups = extra[3];
    if (groups != 0) {
      if (record.bytes.size() < 10) record.bytes.resize(10, 0);
      record.bytes[5] = 's';
      record.bytes[6] = extra[0];
      record.bytes[7] = extra[1];
      record.bytes[8] = static_cast<uint8_t>(extra[2] - 2);
      in.Skip(groups * 9);
    }
    in.Skip(2);
    const auto hasText = static_cast<int16_t>(in.U16());
    if (hasText > 0) {
      record.text = in.Text(in.U8());
      in.Skip(2 * 2);
    }
    return 1;
  } catch (const OutOfRange&) {
    return -1;
  }
}

void Ft2Import::ConvertRecord(const ft_chord& record, nChordArray& voice, CInstrumentDlg& definition) {
  switch (record.kind) {
    case ft_chord::kTimeSignature: {
      nChord* event = voice.AppendTimeSignature(record.numerator, record.denominator);
      event->metaEvents.front()->value = kTimeSignatureFlags;
      if (record.afterFirstBar) {
        event->status = kTimeSignatureBar;
        voice.push_back(std::make_unique<nChord>(kRightStaticSpace));
      }
      break;
    }
    case ft_chord::kBar: {
      if (record.bytes.size() >= 10 && record.bytes[5] == 's') {
        // The legato belongs to a chord counted back from the end of the voice.
        const size_t back = record.bytes[6];
        if (back < voice.size()) {
          int index = static_cast<int>(voice.size() - 1 - back);
          if (nChord* chord = voice.SeekChordBackward(index)) chord->AddLegato(record.bytes[7], record.bytes[8], true);
        }
      }
      voice.push_back(std::make_unique<nChord>(kPlainBar));
      // Re-barring takes plain bar lines away: the bar's text goes to the chord after it.
      if (!record.text.empty()) pendingText_ = Decode8BitText(record.text);
      break;
    }
    case ft_chord::kText:
      pendingText_ = Decode8BitText(record.text);
      break;
    default:
      ConvertChord(record, voice, definition);
      break;
  }
}

void Ft2Import::ConvertChord(const ft_chord& record, nChordArray& voice, CInstrumentDlg& definition) {
  auto chord = std::make_unique<nChord>();
  chord->rhythm = static_cast<uint16_t>((record.bytes[1] & 7) | (record.bytes[2] == 0x10 ? kDottedFlag : 0));
  for (size_t e = 1; e < record.count && 5 * e + 4 < record.bytes.size(); ++e) {
    const uint8_t* entry = &record.bytes[5 * e];
    if (entry[1] == ' ') continue;
    const int course = int{entry[0]} - 2;
    const int fret = FretOfEntry(entry[1], course);
    if (fret < 0) continue;
    // A course the track's tuning lacks takes no note.
    nNotes* note = SetFretOnCourse(*chord, definition.tabInstrument, course, fret, key_);
    if (note != nullptr) {
      ApplyDecorations(*note, entry[2], entry[3]);
    } else {
      CountImportLoss(kUnplayableNote);
    }
  }
  std::string text = record.text.empty() ? std::string() : Decode8BitText(record.text);
  if (text.empty()) text = std::move(pendingText_);
  pendingText_.clear();
  if (!text.empty()) chord->metaEvents.SetMetaEvent(CMetaEvent::kCaption, text, kTextCaption, 0, 0);
  voice.push_back(std::move(chord));
}

}  // namespace vornel

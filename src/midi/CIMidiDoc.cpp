#include "midi/CIMidiDoc.h"

#include <algorithm>
#include <filesystem>

#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

uint32_t BigEndian(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = (v << 8) | b[at + i];
  return v;
}

// Reads bytes of one track, never past its end.
class TrackCursor {
 public:
  TrackCursor(std::span<const uint8_t> data) : data_(data) {}
  bool AtEnd() const { return pos_ >= data_.size(); }
  size_t Position() const { return pos_; }
  size_t Remaining() const { return data_.size() - pos_; }
  bool Byte(uint8_t& b) {
    if (AtEnd()) return false;
    b = data_[pos_++];
    return true;
  }
  // A variable-length quantity of at most four bytes.
  bool VarLen(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = 0;
      if (!Byte(b)) return false;
      value = (value << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool Take(size_t n, std::span<const uint8_t>& out) {
    if (n > Remaining()) return false;
    out = data_.subspan(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

// Data bytes of the system messages that do not belong in a file but occur in some.
int SystemDataBytes(uint8_t status) {
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 1;
    case 0xF2:
      return 2;
    default:
      return 0;
  }
}

// Takes one record from the budget shared by everything a file makes the reader keep; false
// when it is spent.
bool TakeRecord(size_t& budget) {
  if (budget == 0) return false;
  --budget;
  return true;
}

std::string TextOf(std::span<const uint8_t> data) {
  std::string raw;
  raw.reserve(data.size());
  for (uint8_t c : data) {
    if (c != 0) raw += static_cast<char>(c);
  }
  return Decode8BitText(raw);
}

std::string Hex(uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0xF];
}

}  // namespace

bool CIMidiDoc::OnOpenDocument(const std::string& path) {
  const auto bytes = ReadFileBytes(path, kMaxFileBytes);
  if (!bytes) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) {
      Prompts().ShowMessage(std::string(kCannotRead) + "\n" + path + ": the file is larger than " +
                                std::to_string(kMaxFileBytes >> 20) + " MB",
                            MessageKind::kError);
    } else {
      const char* why = std::filesystem::is_directory(path, ec) ? "a folder, not a file"
                        : std::filesystem::exists(path, ec)     ? "the file cannot be read"
                                                                : "there is no such file";
      Prompts().ShowMessage(std::string(kCannotOpen) + "\n" + path + ": " + why, MessageKind::kError);
    }
    return false;
  }
  title = std::filesystem::path(path).stem().string();
  if (!Parse(*bytes)) {
    Prompts().ShowMessage(std::string(kCannotRead) + "\n" + path + ", " + failure, MessageKind::kError);
    return false;
  }
  return true;
}

std::string CIMidiDoc::DamageWarning(const std::string& path) const {
  if (damage.empty()) return {};
  std::string text = path + ": the file is damaged; every complete event before the fault was imported.";
  for (const std::string& line : damage) text += "\n" + line;
  return text;
}

bool CIMidiDoc::Parse(std::span<const uint8_t> bytes) {
  texts.clear();
  tracks.clear();
  failure.clear();
  damage.clear();
  format = trackCount = division = 0;
  auto refuse = [&](size_t at, std::string reason) {
    failure = "at byte " + std::to_string(at) + ": " + std::move(reason);
    return false;
  };
  if (bytes.empty()) return refuse(0, "the file is empty");
  if (bytes.size() < 4 || bytes[0] != 'M' || bytes[1] != 'T' || bytes[2] != 'h' || bytes[3] != 'd') {
    return refuse(0, "it does not begin with a MIDI header (\"MThd\")");
  }
  if (bytes.size() < 14) return refuse(bytes.size(), "the file ends inside its header");
  if (const uint32_t length = BigEndian(bytes, 4, 4); length != 6) {
    return refuse(4, "a header of " + std::to_string(length) + " bytes (6 expected)");
  }
  const uint32_t fmt = BigEndian(bytes, 8, 2);
  const uint32_t div = BigEndian(bytes, 12, 2);
  if (fmt > 2) return refuse(8, "format " + std::to_string(fmt) + " (0, 1 or 2 expected)");
  // Time in frames (SMPTE, top bit set) or a division of 0 gives no musical time.
  if (div == 0) return refuse(12, "a division of 0 ticks per quarter note");
  if ((div & 0x8000) != 0) return refuse(12, "time in SMPTE frames, not in beats");
  format = static_cast<uint16_t>(fmt);
  trackCount = static_cast<uint16_t>(BigEndian(bytes, 10, 2));
  division = static_cast<uint16_t>(div);

  size_t pos = 14;
  size_t recordBudget = kMaxRecords;
  uint32_t i = 0;
  while (i < trackCount) {
    if (bytes.size() - pos < 8) {
      if (bytes.size() > pos) damage.push_back("byte " + std::to_string(pos) + ": the file ends inside a chunk header");
      break;
    }
    const size_t length = BigEndian(bytes, pos + 4, 4);
    const size_t start = pos + 8;
    const size_t available = bytes.size() - start;
    if (bytes[pos] != 'M' || bytes[pos + 1] != 'T' || bytes[pos + 2] != 'r' || bytes[pos + 3] != 'k') {
      // A chunk of another kind, named by four letters, is passed over as the format asks;
      // anything else ends the tracks.
      const bool named = std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(pos + 4),
                                     [](uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
      if (!named) {
        damage.push_back("byte " + std::to_string(pos) + ": no chunk where track " + std::to_string(i + 1) +
                         " should begin");
        break;
      }
      if (length > available) break;  // an unknown chunk cut short holds nothing of ours
      pos = start + length;
      continue;
    }
    ++i;
    // A track that runs past the end of the file keeps the events that are there.
    const bool cut = length > available;
    auto track = std::make_unique<TrackInfo>();
    track->dataStart = start;
    track->dataLength = cut ? available : length;
    ReadTrack(bytes.subspan(start, track->dataLength), start, i, cut, *track, recordBudget);
    if (cut) {
      damage.push_back("track " + std::to_string(i) + ": it announces " + std::to_string(length) +
                       " bytes, the file holds " + std::to_string(available));
    }
    tracks.push_back(std::move(track));
    if (recordBudget == 0 || cut) break;
    pos = start + length;
  }
  if (i < trackCount && damage.empty() && pos >= bytes.size()) {
    // The header announced more tracks than the file holds: nothing is cut, but tracks are
    // missing.
    damage.push_back("the header announces " + std::to_string(trackCount) + " tracks, the file holds " +
                     std::to_string(i));
  }
  return true;
}

void CIMidiDoc::ReadTrack(std::span<const uint8_t> data, size_t offset, size_t number, bool cut, TrackInfo& track,
                          size_t& recordBudget) {
  TrackCursor in(data);
  uint8_t string = 0;
  size_t eventStart = 0;
  auto fault = [&](const std::string& reason) {
    damage.push_back("track " + std::to_string(number) + ", byte " + std::to_string(offset + eventStart) + ": " +
                     (!in.AtEnd() ? reason : cut ? "the file ends inside an event" : "the track ends inside an event"));
  };
  const std::string budgetSpent = "more events than an import keeps (" + std::to_string(kMaxRecords) + ")";
  while (!track.ended && !in.AtEnd()) {
    eventStart = in.Position();
    uint32_t delta = 0;
    uint8_t status = 0;
    if (!in.VarLen(delta)) {
      fault("a delta time longer than four bytes");
      break;
    }
    if (!in.Byte(status)) {
      fault({});
      break;
    }
    track.runningTime += delta;
    uint8_t first = 0;
    bool haveFirst = false;
    if (status < 0x80) {
      // A data byte where a status belongs: the running status, when there is one.
      if (track.runningStatus == 0) {
        fault("a data byte (" + Hex(status) + ") where an event begins, and no running status");
        break;
      }
      first = status;
      haveFirst = true;
      status = track.runningStatus;
    }
    if (status == 0xFF) {
      uint8_t type = 0;
      uint32_t length = 0;
      std::span<const uint8_t> payload;
      if (!in.Byte(type) || !in.VarLen(length) || !in.Take(length, payload)) {
        fault("a meta-event longer than its track");
        break;
      }
      if (!ReadMeta(type, payload, track, string, recordBudget)) {
        fault(budgetSpent);
        break;
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      std::span<const uint8_t> payload;
      if (!in.VarLen(length) || !in.Take(length, payload)) {
        fault("a system-exclusive message longer than its track");
        break;
      }
      continue;
    }
    if (status >= 0xF1) {
      std::span<const uint8_t> payload;
      if (!in.Take(static_cast<size_t>(SystemDataBytes(status)), payload)) {
        fault({});
        break;
      }
      continue;
    }
    track.runningStatus = status;
    const uint8_t kind = status >> 4;
    const bool twoBytes = kind != 0xC && kind != 0xD;
    uint8_t second = 0;
    if ((!haveFirst && !in.Byte(first)) || (twoBytes && !in.Byte(second))) {
      fault({});
      break;
    }
    // A status byte where data belongs: the event was cut off.
    if (first >= 0x80 || second >= 0x80) {
      fault("a status byte (" + Hex(first >= 0x80 ? first : second) + ") inside an event of " + Hex(status));
      break;
    }
    if (!TakeRecord(recordBudget)) {
      fault(budgetSpent);
      break;
    }
    if (kind == 0xC && track.program < 0) track.program = first;
    strMidiNote& r = track.notes.records().emplace_back();
    r.kind = (kind == strMidiNote::kImportNoteOn && second == 0) ? strMidiNote::kImportNoteOff : kind;
    r.channel = status & 0x0F;
    r.key = first;
    r.velocity = second;
    r.time = static_cast<uint32_t>(std::min<uint64_t>(track.runningTime, UINT32_MAX));
    r.string = string;
  }

  for (const strMidiNote& r : track.notes) {
    ++track.channelCounts[r.channel];
    if (r.kind == strMidiNote::kImportNoteOn) ++track.noteCount;
  }
  track.multiChannel = std::count_if(track.channelCounts.begin(), track.channelCounts.end(),
                                     [](int32_t c) { return c > 0; }) > 1;
  auto& records = track.notes.records();
  records.erase(std::remove_if(records.begin(), records.end(), [](const strMidiNote& r) { return r.kind == 0xB; }),
                records.end());
}

bool CIMidiDoc::ReadMeta(uint8_t type, std::span<const uint8_t> data, TrackInfo& track, uint8_t& string,
                         size_t& recordBudget) {
  const uint32_t time = static_cast<uint32_t>(std::min<uint64_t>(track.runningTime, UINT32_MAX));
  switch (type) {
    case 0x01:
    case 0x02:
      if (!TakeRecord(recordBudget)) return false;
      texts.push_back(TextOf(data));
      return true;
    case 0x03:
      track.name = TextOf(data);
      return true;
    case 0x04:
      track.instrumentText = TextOf(data);
      return true;
    case 0x05:
      track.thirdText = TextOf(data);
      return true;
    case 0x10:
      track.values.assign(data.begin(), data.end());
      return true;
    case 0x11:
      if (!data.empty()) string = data[0];
      return true;
    case 0x2F:
      track.ended = true;
      return true;
    case 0x51: {
      if (data.size() != 3) return true;
      const uint32_t us = BigEndian(data, 0, 3);
      if (us == 0) return true;  // no tempo; never divided by
      const int32_t bpm = static_cast<int32_t>(std::max<uint32_t>(60000000u / us, 1));
      if (track.tempo == 0) track.tempo = bpm;
      if (!TakeRecord(recordBudget)) return false;
      track.metaRecords.push_back({MidiMetaRecord::kTempo, time, bpm, 0});
      return true;
    }
    case 0x58: {
      // Numerator and 2^dd; a numerator of 0 or a beat shorter than 1/64 is no signature.
      if (data.size() != 4 || data[0] == 0 || data[1] > 6) return true;
      const int32_t num = data[0];
      const int32_t den = 1 << data[1];
      if (track.numerator < 0) {
        track.numerator = num;
        track.denominator = den;
      } else {
        if (!TakeRecord(recordBudget)) return false;
        track.metaRecords.push_back({MidiMetaRecord::kTimeSignature, time, num, den});
      }
      return true;
    }
    case 0x59: {
      if (data.size() != 2) return true;
      const int32_t sf = static_cast<int8_t>(data[0]);
      if (sf < -7 || sf > 7 || data[1] > 1) return true;
      if (!track.hasKey) {
        track.hasKey = true;
        track.keyAccidentals = sf;
        track.keyMinor = data[1];
      }
      if (!TakeRecord(recordBudget)) return false;
      track.metaRecords.push_back({MidiMetaRecord::kKeySignature, time, sf, data[1]});
      return true;
    }
    default:
      return true;  // other meta-events are passed over by their length
  }
}

bool CIMidiDoc::CheckTracksSelected() const {
  for (const auto& t : tracks) {
    if (t != nullptr && t->mark == TrackInfo::kImport && t->HasNotes()) return true;
  }
  Prompts().ShowMessage(kNoData, MessageKind::kWarning, kNoDataCaption);
  return false;
}

}  // namespace vornel

#include "import/guitarpro/gp_import.h"

#include <algorithm>
#include <charconv>

#include "import/ImportWarnings.h"
#include "import/guitarpro/GpByteCursor.h"
#include "platform/io/FileIO.h"
#include "platform/text/FormatText.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

struct Signature {
  std::string_view text;
  int32_t major;
  int32_t minor;
};

constexpr Signature kSignatures[] = {
    {"FICHIER GUITARE PRO v1", 1, 0},     {"FICHIER GUITARE PRO v1.01", 1, 1}, {"FICHIER GUITARE PRO v1.02", 1, 2},
    {"FICHIER GUITARE PRO v1.03", 1, 3},  {"FICHIER GUITARE PRO v1.04", 1, 4}, {"FICHIER GUITAR PRO v2.20", 2, 20},
    {"FICHIER GUITAR PRO v2.21", 2, 21},  {"FICHIER GUITAR PRO v3.00", 3, 0},  {"FICHIER GUITAR PRO v4.00", 4, 0},
    {"FICHIER GUITAR PRO v4.06", 4, 6},   {"FICHIER GUITAR PRO L4.06", 4, 6},  {"FICHIER GUITAR PRO v5.00", 5, 0},
    {"FICHIER GUITAR PRO v5.10", 5, 10},
};

constexpr std::string_view kIntegerEof = "readDelphiInteger: EOF";

// Notes the reader reads to stay in step with the file but cannot keep.
constexpr ImportLoss kNoteOnNoString{"note on no string of its track", "notes on no string of their tracks"};
constexpr ImportLoss kNoteAboveRange{"note above the MIDI range", "notes above the MIDI range"};
constexpr std::string_view kStringEof = "readDelphiString: EOF";

// File texts stop at their first zero byte; they are UTF-8 when valid, else Windows-1252.
std::string TextOf(std::span<const uint8_t> bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
  return Decode8BitText(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<size_t>(end - bytes.begin())));
}

// The pieces of `text` between `delimiter`s; empty pieces between delimiters are kept, a
// trailing delimiter adds none.
std::vector<std::string_view> SplitPieces(std::string_view text, char delimiter) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (true) {
    const size_t at = text.find(delimiter, start);
    if (at == std::string_view::npos) {
      if (start < text.size() || pieces.empty()) pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

// The syllables of a lyric line: lines at line feeds, words at spaces, syllables at hyphens.
std::vector<std::string_view> Syllables(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::string_view line : SplitPieces(text, '\n')) {
    for (std::string_view word : SplitPieces(line, ' ')) {
      for (std::string_view syllable : SplitPieces(word, '-')) out.push_back(syllable);
    }
  }
  return out;
}

bool ValidNumerator(int value) { return value >= 1 && value <= 64; }
bool ValidDenominator(int value) { return value >= 1 && value <= 64 && (value & (value - 1)) == 0; }

// A tuplet of the file as a rhythm word holds it: the word's tuplet code, and whether the
// word takes the next longer value. The file's tuplets fill the time of the next lower power
// of two (five in the time of four, nine in the time of eight); the word's five, nine, eleven
// and thirteen fill half that time, so they take a value twice as long.
struct TupletWord {
  int32_t count;
  int code;
  bool longerValue;
};
constexpr TupletWord kTupletWords[] = {{3, 1, false},  {5, 2, true},  {6, 1, false}, {7, 3, false},
                                       {9, 5, true},   {10, 2, true}, {11, 6, true}, {12, 1, false},
                                       {13, 7, true}};

// The word of a beat's tuplet; null for one the reader refuses.
const TupletWord* TupletWordOf(int32_t tuplet) {
  for (const TupletWord& word : kTupletWords) {
    if (word.count == tuplet) return &word;
  }
  return nullptr;
}

}  // namespace

const std::string& TabSong::Info(const std::string& key) const {
  static const std::string kNone;
  const auto it = info.find(key);
  return it != info.end() ? it->second : kNone;
}

gp_import::gp_import() = default;
gp_import::~gp_import() = default;

bool gp_import::HasSignature(std::span<const uint8_t> head) {
  if (head.empty()) return false;
  const size_t length = head[0];
  if (length > 30 || head.size() < 1 + length) return false;
  const std::string_view text(reinterpret_cast<const char*>(head.data() + 1), length);
  return std::any_of(std::begin(kSignatures), std::end(kSignatures),
                     [&](const Signature& s) { return s.text == text; });
}

bool gp_import::read(const char* fileName) {
  const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(fileName != nullptr ? fileName : "", kMaxFileBytes);
  if (!bytes) {
    failure_ = "Cannot open file";
    failureOffset_ = 0;
    failureStep_ = "open";
    Log(failure_, "\n");
    return false;
  }
  return readBytes(*bytes);
}

bool gp_import::readBytes(std::span<const uint8_t> bytes) {
  GpByteCursor cursor(bytes);
  in_ = &cursor;
  failure_.clear();
  failureOffset_ = 0;
  failureStep_ = {};
  bool ok = true;
  try {
    step_ = "readSignature";
    readSignature();
    song.tracks.clear();
    step_ = "readSongAttributes";
    readSongAttributes();
    step_ = "readTrackDefaults";
    readTrackDefaults();
    step_ = "readCounts";
    readCounts();
    step_ = "readBarProperties";
    readBarProperties();
    step_ = "readTrackProperties";
    readTrackProperties();
    step_ = "readTabs";
    readTabs();
    step_ = "end of file";
    readEndOfFile();
    distributeLyrics();
  } catch (const GpReadFailure& failure) {
    failure_ = failure.what();
    failureOffset_ = failure.offset();
    failureStep_ = step_;
    Log("Failure at ", failureOffset_, ": ", failure_, "\n");
    ok = false;
  }
  in_ = nullptr;
  return ok;
}

// ---------------------------------------------------------------------------------------------
// Primitives

int32_t gp_import::readDelphiInteger() { return in_->ReadInt32(kIntegerEof); }

std::string gp_import::readDelphiString() {
  const int32_t n = in_->ReadInt32(kStringEof);
  const uint8_t length = in_->ReadByte(kStringEof);
  if (n != length + 1) in_->Fail("readDelphiString: first word doesn't match second byte");
  return TextOf(in_->ReadBytes(length, "readDelphiString: the text runs past the end of the file"));
}

std::string gp_import::readPascalString(int width) {
  const uint8_t length = in_->ReadByte();
  if (length > width) in_->Fail(FormatText("readPascalString: length %d above the field width %d", length, width));
  std::string text = TextOf(in_->ReadBytes(length, "readPascalString: EOF"));
  in_->Skip(static_cast<size_t>(width - length), "readPascalString: EOF");
  return text;
}

std::string gp_import::readIntString() {
  const int32_t n = readDelphiInteger();
  if (n < 0 || static_cast<size_t>(n) > in_->Remaining()) in_->Fail(FormatText("readIntString: insane length %d", n));
  return TextOf(in_->ReadBytes(static_cast<size_t>(n), "readIntString: EOF"));
}

void gp_import::skipBendPoints() {
  const int32_t count = readDelphiInteger();
  if (count < 0 || static_cast<uint64_t>(count) * 9 > in_->Remaining()) {
    in_->Fail(FormatText("Insane number of bend points: %d", count));
  }
  in_->Skip(static_cast<size_t>(count) * 9);
}

void gp_import::LogPart(std::string_view text) { log_->append(text); }

void gp_import::LogPart(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  log_->append(buffer, result.ptr);
}

// ---------------------------------------------------------------------------------------------
// Header

void gp_import::readSignature() {
  const std::string text = readPascalString(30);
  Log("GTP format: \"", text, "\"\n");
  for (const Signature& s : kSignatures) {
    if (s.text == text) {
      versionMajor = s.major;
      versionMinor = s.minor;
      return;
    }
  }
  throw GpReadFailure(FormatText("Invalid file format: \"%s\"", text.c_str()), 0);
}

void gp_import::readSongAttributes() {
  for (const char* key : {"TITLE", "SUBTITLE", "ARTIST", "ALBUM", "COMPOSER"}) song.info[key] = readDelphiString();
  if (versionMajor == 5) song.info["UNKNOWN"] = readDelphiString();
  for (const char* key : {"COPYRIGHT", "TRANSCRIBER", "INSTRUCTIONS"}) song.info[key] = readDelphiString();

  std::string& comments = song.info["COMMENTS"];
  comments.clear();
  const int32_t notices = readDelphiInteger();
  for (int32_t i = 0; i < notices; ++i) {
    comments += readDelphiString();
    comments += '\n';
  }
  if (versionMajor < 5) in_->ReadByte();  // shuffle feel

  song.lyricsTrack = 0;
  if (versionMajor >= 4) {
    song.lyricsTrack = readDelphiInteger();
    for (TabLyricLine& line : song.lyrics) {
      line.startBar = readDelphiInteger();
      line.text = readIntString();
    }
  }
  if (versionMajor == 5) {
    in_->Skip(versionMinor == 0 ? 30 : 49);  // page setup
    for (int i = 0; i < 11; ++i) {
      readDelphiInteger();
      in_->Skip(in_->ReadByte());
    }
  }
  song.tempo = readDelphiInteger();
  Log("Tempo: ", song.tempo, "\n");
  if (versionMajor < 4) {
    in_->Skip(4);
  } else {
    readDelphiInteger();
    in_->ReadByte();
    if (versionMajor == 5 && versionMinor > 0) in_->ReadByte();
  }
}

void gp_import::readTrackDefaults() {
  for (size_t slot = 0; slot < kChannelSlots; ++slot) {
    channelPrograms[slot] = readDelphiInteger();
    if (versionMajor == 5) {
      in_->Skip(8);
      continue;
    }
    in_->Skip(6);  // volume, balance, chorus, reverb, phaser, tremolo
    const uint8_t first = in_->ReadByte();
    if (first != 0) in_->Fail(FormatText("1 of 2 byte padding: there is %d, must be 0\n", first));
    const uint8_t second = in_->ReadByte();
    if (second != 0) in_->Fail(FormatText("2 of 2 byte padding: there is %d, must be 0\n", second));
  }
  if (versionMajor == 5) in_->Skip(42);
}

void gp_import::readCounts() {
  numBars = readDelphiInteger();
  numTracks = readDelphiInteger();
  Log("Bars: ", numBars, "\n", "Tracks: ", numTracks, "\n");
  if (numTracks == 0) in_->Fail("No tracks found!\n");
  if (numTracks < 0 || numTracks > kMaxTracks) in_->Fail(FormatText("Insane number of tracks: %d", numTracks));
  if (numBars < 0) in_->Fail(FormatText("Insane number of bars: %d", numBars));
  // Every bar of every track and voice takes at least its beat count from the file; bar
  // records are made for them only when the bytes are there.
  const uint64_t voices = versionMajor == 5 ? 2 : 1;
  if (static_cast<uint64_t>(numBars) * static_cast<uint64_t>(numTracks) * voices * 4 > in_->Remaining()) {
    in_->Fail(FormatText("Insane number of bars: %d bars of %d tracks need more data than the file holds", numBars,
                         numTracks));
  }
}

namespace {

// One term of the running time signature: a value that differs from the running one (or
// the first one given) is stored in the bar and runs on; a value no signature has is ignored.
struct SignatureTerm {
  const char* name;
  bool (*valid)(int);
  int32_t running = 4;
  bool given = false;

  void Take(uint8_t value, uint8_t& stored, std::string* log) {
    if (!valid(value)) {
      if (log != nullptr) *log += std::string("ignored time signature ") + name + " " + std::to_string(value) + "\n";
      return;
    }
    if (given && value == running) return;
    stored = value;
    running = value;
    given = true;
  }
};

}  // namespace

void gp_import::readBarProperties() {
  Log("readBarProperties(): start\n");
  songBars.assign(static_cast<size_t>(numBars), TabBar{});
  SignatureTerm numerator{"numerator", ValidNumerator};
  SignatureTerm denominator{"denominator", ValidDenominator};
  for (size_t i = 0; i < songBars.size(); ++i) {
    TabBar& bar = songBars[i];
    const uint8_t flags = in_->ReadByte();
    if (flags != 0) Log("BAR #", i, " - flags ", flags, "\n");
    if (flags & TabBar::kNumerator) {
      numerator.Take(in_->ReadByte(), bar.timeNumerator, log_);
      Log("new time1 signature: ", numerator.running, ":", denominator.running, "\n");
    }
    if (flags & TabBar::kDenominator) {
      denominator.Take(in_->ReadByte(), bar.timeDenominator, log_);
      Log("new time2 signature: ", numerator.running, ":", denominator.running, "\n");
    }
    if (flags & TabBar::kBeginRepeat) Log("begin repeat\n");
    if (flags & TabBar::kEndRepeat) {
      bar.repeatCount = in_->ReadByte();
      Log("end repeat ", bar.repeatCount, "x\n");
    }
    // Version 5 files keep the alternative ending after the key and the beam groups.
    if ((flags & TabBar::kAlternativeEnding) && versionMajor != 5) Log("alternative ending to ", in_->ReadByte(), "\n");
    if (flags & TabBar::kMarker) {
      bar.markerName = readDelphiString();
      readDelphiInteger();  // colour
      Log("new section: ", bar.markerName, "\n");
    }
    if (flags & TabBar::kKeyChange) {
      bar.key = in_->ReadSignedByte();
      const uint8_t mode = in_->ReadByte();
      Log("new key signature (", bar.key, ", ", mode, ")\n");
    }
    if (flags & TabBar::kDoubleBar) Log("double bar\n");
    bar.numerator = numerator.running;
    bar.denominator = denominator.running;
    bar.flags = flags;
    if (versionMajor == 5) {
      if (flags & (TabBar::kNumerator | TabBar::kDenominator)) in_->Skip(4);  // beam groups
      // The alternative ending, or an empty byte in its place.
      const uint8_t ending = in_->ReadByte();
      if (flags & TabBar::kAlternativeEnding) Log("alternative ending to ", ending, "\n");
      in_->Skip(2);
    }
  }
  Log("readBarProperties(): end\n");
}

void gp_import::readTrackProperties() {
  Log("readTrackProperties(): start\n");
  for (int32_t t = 0; t < numTracks; ++t) {
    const uint8_t simulations = in_->ReadByte();
    Log("Simulations: ", simulations, "\n");
    TabTrack& track = *song.tracks.emplace_back(std::make_unique<TabTrack>());
    track.name = readPascalString(40);
    Log("Track: ", track.name, "\n");
    const int32_t strings = readDelphiInteger();
    if (strings < 1 || strings > 7) in_->Fail(FormatText("Track %d: insane # of strings (%d)\n", t, strings));
    track.stringCount = static_cast<uint8_t>(strings);
    // The file lists the highest string first; index 0 of the tuning is the lowest.
    for (int32_t i = 0; i < 7; ++i) {
      const int32_t pitch = readDelphiInteger();
      if (i >= strings) continue;
      const int32_t index = strings - 1 - i;
      if (pitch < 0 || pitch > 127) {
        in_->Fail(FormatText("Track %d: insane tuning on string %d = %d\n", t, index, pitch));
      }
      track.tuning[static_cast<size_t>(index)] = pitch;
    }
    const int32_t port = readDelphiInteger();
    const int32_t channel = readDelphiInteger();
    const int32_t secondChannel = readDelphiInteger();
    const int32_t frets = readDelphiInteger();
    const int32_t capo = readDelphiInteger();
    readDelphiInteger();  // colour
    Log("Port ", port, ", channels ", channel, " and ", secondChannel, ", frets ", frets, ", capo ", capo, "\n");
    if (versionMajor == 5) {
      in_->Skip(versionMinor == 0 ? 45 : 49);
      if (versionMinor > 0) {
        readDelphiString();
        readDelphiString();
      }
    }
    if (frets <= 0 || frets > 100) in_->Fail(FormatText("Track %d: insane number of frets (%d)\n", t, frets));
    if (channel < 0 || channel > 16) in_->Fail(FormatText("Track %d: insane MIDI channel 1 (%d)\n", t, channel));
    if (secondChannel < 0 || secondChannel > 16) {
      in_->Fail(FormatText("Track %d: insane MIDI channel 2 (%d)\n", t, secondChannel));
    }
    track.channel = static_cast<uint8_t>(channel);
    track.percussion = (simulations & TabTrack::kDrums) != 0 || channel == TabTrack::kPercussionChannel;
    track.frets = static_cast<uint8_t>(frets);
    track.capo = static_cast<uint8_t>(capo);
    // The program of the track's own port and channel; none for channel 0 or a slot the
    // table does not have.
    const int64_t slot = (static_cast<int64_t>(port) - 1) * 16 + channel - 1;
    track.program = 0;
    if (channel >= 1 && slot >= 0 && slot < static_cast<int64_t>(kChannelSlots)) {
      const int32_t program = channelPrograms[static_cast<size_t>(slot)];
      if (program >= 0 && program <= 127) track.program = static_cast<uint8_t>(program);
    }
  }
  if (versionMajor == 5) in_->Skip(1);
  Log("readTrackProperties(): end\n");
}

// ---------------------------------------------------------------------------------------------
// Beats and notes

void gp_import::readTabs() {
  const uint8_t voices = versionMajor == 5 ? 2 : 1;
  for (const auto& track : song.tracks) {
    track->voices = voices;
    track->bars.assign(static_cast<size_t>(numBars), TabBar{});
    track->columns.clear();
  }
  for (size_t b = 0; b < songBars.size(); ++b) {
    const TabBar& songBar = songBars[b];
    for (size_t t = 0; t < song.tracks.size(); ++t) {
      TabTrack& track = *song.tracks[t];
      TabBar& bar = track.bars[b];
      for (uint8_t v = 0; v < voices; ++v) {
        const size_t position = in_->Position();
        const int32_t beats = readDelphiInteger();
        Log("TRACK ", t, ", BAR ", b, ", numBeats ", beats, " (position: ", position, ")\n");
        if (beats < 0 || beats > kMaxBeats) {
          in_->Fail(FormatText("Track %d, bar %d, insane number of beats: %d", static_cast<int>(t),
                               static_cast<int>(b), beats));
        }
        // The song bar's signature, flags, key and marker, with this voice's beats.
        if (v == 0) bar = songBar;
        bar.beatCount = beats;
        bar.firstColumn = static_cast<int32_t>(track.columns.size());
        bar.voiceBeatCount[v] = beats;
        bar.voiceFirstColumn[v] = bar.firstColumn;
        for (int32_t i = 0; i < beats; ++i) {
          TabColumn column;
          column.voice = v;
          readColumn(track, column);
          track.columns.push_back(std::move(column));
        }
      }
      // Version 5 files put one byte between the bars of the tracks, none after the last.
      if (versionMajor == 5 && !(b + 1 == songBars.size() && t + 1 == song.tracks.size())) in_->Skip(1);
    }
  }
}

void gp_import::readColumn(const TabTrack& track, TabColumn& column) {
  const uint8_t flags = in_->ReadByte();
  if (flags & 0x01) column.flags |= TabColumn::kDotted;
  if (flags & 0x40) column.status = in_->ReadByte();
  const int8_t duration = in_->ReadSignedByte();
  if (duration < -2 || duration > 4) in_->Fail(FormatText("Insane duration: %d", duration));
  column.duration = duration + 3;
  if (flags & 0x20) {
    const int32_t tuplet = readDelphiInteger();
    const TupletWord* word = TupletWordOf(tuplet);
    if (word == nullptr) in_->Fail(FormatText("Insane tuple t: %d", tuplet));
    column.tuplet = word->code;
    column.tupletOfLongerValue = word->longerValue;
  }
  if (flags & 0x02) column.chordName = readChordDiagram();
  if (flags & 0x04) readDelphiString();  // beat text
  if (flags & 0x08) readBeatEffects();
  if (flags & 0x10) readMixTableChange();

  const uint8_t mask = in_->ReadByte();
  // Bit 6 - k marks string k; a track of fewer than seven strings has bit 7 looked at first.
  const int first = track.stringCount < 7 ? -1 : 0;
  for (int k = first; k < track.stringCount; ++k) {
    if ((mask & (1u << (6 - k))) == 0) continue;
    TabNote note;
    if (readNote(track, k, column, note)) column.notes.push_back(std::move(note));
  }
  if (versionMajor == 5) {
    in_->ReadByte();
    if (in_->ReadByte() & 0x08) in_->ReadByte();
  }
}

bool gp_import::readNote(const TabTrack& track, int string, TabColumn& column, TabNote& note) {
  const size_t position = in_->Position();
  const uint8_t flags = in_->ReadByte();
  Log("note flags ", flags, " (position: ", position, ")\n");
  if (flags & 0x20) {
    const uint8_t type = in_->ReadByte();
    if (type == 2) {
      note.flags |= TabNote::kTie;
      column.flags |= TabColumn::kTied;
    } else if (type == 3) {
      note.flags |= TabNote::kDeadNote;
    }
  }
  if ((flags & 0x01) && versionMajor != 5) {
    const int8_t duration = in_->ReadSignedByte();
    const uint8_t tuplet = in_->ReadByte();
    // A value outside the durations gives the note no duration of its own.
    if (duration >= -2 && duration <= 4) note.attributes[TabNote::kDuration] = ((duration + 3) << 4) | (tuplet & 0x0F);
  }
  if (flags & 0x02) note.attributes[TabNote::kDuration] |= 0x100;
  if (flags & 0x10) note.attributes[TabNote::kDynamic] = in_->ReadByte();
  // The fret travels with the note type: a note without flag 0x20 (one that only carries
  // effects, say) has no fret byte and stands on the open string.
  if (flags & 0x20) note.fret = in_->ReadByte();
  if (flags & 0x40) note.flags |= TabNote::kGhost;
  if (flags & 0x80) {
    // A negative fingering is no fingering.
    const int8_t left = in_->ReadSignedByte();
    const int8_t right = in_->ReadSignedByte();
    if (left >= 0) note.attributes[TabNote::kLeftFingering] = left;
    if (right >= 0) note.attributes[TabNote::kRightFingering] = right;
  }
  if (versionMajor == 5) {
    // Version 5 keeps the note's own length as 8 bytes after the fret and fingerings.
    if (flags & 0x01) in_->Skip(8);
    in_->ReadByte();
  }
  if (flags & 0x08) readNoteEffects(note);

  if (string < 0) {
    Log("note on no string of the track dropped\n");
    CountImportLoss(kNoteOnNoString);
    return false;
  }
  const int32_t pitch = track.tuning[static_cast<size_t>(track.stringCount - 1 - string)] + note.fret;
  if (pitch > 127) {
    Log("note of pitch ", pitch, " dropped\n");
    CountImportLoss(kNoteAboveRange);
    return false;
  }
  note.string = static_cast<uint8_t>(string);
  return true;
}

void gp_import::readNoteEffects(TabNote& note) {
  const uint8_t e1 = in_->ReadByte();
  if (versionMajor == 3) {
    if (e1 & 0x01) {
      in_->Skip(5);
      skipBendPoints();
    }
    if (e1 & 0x02) note.flags |= TabNote::kLegato;
    if (e1 & 0x04) note.flags |= TabNote::kSlide;
    if (e1 & 0x08) note.flags |= TabNote::kLetRing;
    if (e1 & 0x10) readGraceNote(note);
    return;
  }
  const uint8_t e2 = in_->ReadByte();
  if (e1 & 0x01) {
    in_->ReadByte();
    readDelphiInteger();
    skipBendPoints();
    note.attributes[TabNote::kBend] = 1;
  }
  if (e1 & 0x02) note.flags |= TabNote::kLegato;
  if (e1 & 0x08) note.flags |= TabNote::kLetRing;
  if (e1 & 0x10) {
    readGraceNote(note);
    if (versionMajor == 5) in_->ReadByte();
  }
  if (e2 & 0x01) note.flags |= TabNote::kStaccato;
  if (e2 & 0x02) note.flags |= TabNote::kPalmMute;
  if (e2 & 0x04) {
    in_->ReadByte();
    note.flags |= TabNote::kTremoloPicking;
  }
  if (e2 & 0x08) {
    in_->ReadByte();
    note.flags |= TabNote::kSlide;
  }
  if (e2 & 0x10) {
    const uint8_t harmonic = in_->ReadByte();
    // Version 5 gives an artificial harmonic its note, accidental and octave, and a tapped
    // one its fret.
    if (versionMajor == 5 && harmonic == 2) in_->Skip(3);
    if (versionMajor == 5 && harmonic == 3) in_->Skip(1);
    note.flags |= TabNote::kHarmonic;
  }
  if (e2 & 0x20) {
    const int fret = in_->ReadByte();
    const int period = in_->ReadByte();
    note.attributes[TabNote::kTrill] = fret << 4 | period;
  }
}

void gp_import::readGraceNote(TabNote& note) {
  const int fret = in_->ReadByte();
  const int dynamic = in_->ReadByte();
  const int transition = in_->ReadByte();
  const int duration = in_->ReadByte();
  note.attributes[TabNote::kGraceNote] = fret << 12 | dynamic << 8 | transition << 4 | duration;
}

void gp_import::readBeatEffects() {
  if (versionMajor == 3) {
    const uint8_t b = in_->ReadByte();
    if (b & 0x20) {
      in_->ReadByte();
      readDelphiInteger();
    }
    if (b & 0x40) in_->Skip(2);
    return;
  }
  if (versionMajor < 3) return;
  const uint8_t b1 = in_->ReadByte();
  const uint8_t b2 = in_->ReadByte();
  if (b1 & 0x20) in_->ReadByte();
  if (b2 & 0x04) {
    in_->ReadByte();
    readDelphiInteger();
    skipBendPoints();
  }
  if (b1 & 0x40) in_->Skip(2);
  if (b2 & 0x02) in_->ReadByte();
}

void gp_import::readMixTableChange() {
  Log("mix table change (position: ", in_->Position(), ")\n");
  in_->ReadByte();  // instrument
  if (versionMajor == 5) in_->Skip(16);
  const std::span<const uint8_t> values = in_->ReadBytes(6, "readByte: EOF");
  if (versionMajor == 5) readDelphiString();
  const int32_t tempo = readDelphiInteger();
  Log("mix table tempo ", tempo, "\n");
  for (uint8_t value : values) {
    if (value != 0xFF) in_->ReadByte();  // transition
  }
  // The tempo's transition; files of 5.10 add a second byte.
  if (tempo != -1) in_->Skip(versionMajor == 5 && versionMinor > 0 ? 2 : 1);
  if (versionMajor >= 4) in_->ReadByte();
  if (versionMajor == 5) {
    in_->ReadByte();
    if (versionMinor > 0) {
      readDelphiString();
      readDelphiString();
    }
  }
}

std::string gp_import::readChordDiagram() {
  std::string name;
  if (versionMajor == 3) {
    const uint8_t header = in_->ReadByte();
    if ((header & 0x01) == 0) {
      name = readDelphiString();
      if (readDelphiInteger() != 0) {
        for (int i = 0; i < 6; ++i) readDelphiInteger();
      }
    } else {
      in_->Skip(25);
      name = readPascalString(34);
      if (readDelphiInteger() != 0) {
        for (int i = 0; i < 6; ++i) readDelphiInteger();
      }
      in_->Skip(36);
    }
    Log("Chord diagram: ", name, "\n");
    return name;
  }
  const int32_t first = readDelphiInteger();
  if (first != 257) Log("Chord INT1=", first, ", not 257\n");
  const int32_t second = readDelphiInteger();
  if (second != 0) Log("Chord INT2=", second, ", not 0\n");
  Log("Chord INT3: ", readDelphiInteger(), "\n");
  const int32_t fourth = readDelphiInteger();
  if (fourth != 0) Log("Chord INT4=", fourth, ", not 0\n");
  const uint8_t fifth = in_->ReadByte();
  if (fifth != 0) Log("Chord BYTE5=", fifth, ", not 0\n");
  name = readPascalString(25);
  Log("Chord diagram: ", name, "\n");
  for (int i = 0; i < 7; ++i) Log(readDelphiInteger(), "\n");
  in_->Skip(36);
  Log("after chord, position: ", in_->Position(), "\n");
  return name;
}

// ---------------------------------------------------------------------------------------------
// The end

void gp_import::readEndOfFile() {
  if (in_->AtEnd()) return;
  // Data after the last beat is only noted.
  if (in_->Remaining() >= 4 && readDelphiInteger() != 0) Log("File not ended with 00 00 00 00\n");
  if (!in_->AtEnd()) Log("File not ended - there's more data!\n");
}

void gp_import::distributeLyrics() {
  if (song.lyricsTrack < 1 || static_cast<size_t>(song.lyricsTrack) > song.tracks.size()) return;
  TabTrack& track = *song.tracks[static_cast<size_t>(song.lyricsTrack - 1)];
  const TabLyricLine& line = song.lyrics[0];
  const int64_t barIndex = static_cast<int64_t>(line.startBar) - 1;
  if (barIndex < 0 || barIndex >= static_cast<int64_t>(track.bars.size())) return;
  const std::vector<std::string_view> syllables = Syllables(line.text);
  // Syllables go to the sounding beats of the first voice: the empty beats that stand for a
  // silent second voice would swallow them.
  size_t next = 0;
  for (size_t c = static_cast<size_t>(track.bars[static_cast<size_t>(barIndex)].voiceFirstColumn[0]);
       c < track.columns.size() && next < syllables.size(); ++c) {
    TabColumn& column = track.columns[c];
    if (column.voice != 0 || column.status != 0 || (column.flags & TabColumn::kTied) != 0 || column.notes.empty()) {
      continue;
    }
    column.lyric = std::string(syllables[next++]);
  }
}

}  // namespace vornel

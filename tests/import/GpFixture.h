#pragma once
// Guitar Pro files written from a small description, for the reader and import tests, the
// benchmark and the fuzz seeds: the reader's layout in reverse. Every field has the value of
// a plain file, so a test sets only what it is about; the raw effect bytes of beats and notes
// are given as they stand in the file.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::testing {

class GpBytes {
 public:
  std::vector<uint8_t> bytes;

  void Byte(int value) { bytes.push_back(static_cast<uint8_t>(value)); }
  void Int(int32_t value) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<int>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
  }
  void Raw(const std::vector<uint8_t>& raw) { bytes.insert(bytes.end(), raw.begin(), raw.end()); }
  void Zeros(size_t count) { bytes.insert(bytes.end(), count, 0); }
  // A counted string: 32-bit length + 1, the byte length, the bytes.
  void DelphiString(std::string_view text) {
    Int(static_cast<int32_t>(text.size()) + 1);
    Byte(static_cast<int>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  // A field string: the byte length, the bytes, padding up to the field width.
  void PascalString(std::string_view text, size_t width) {
    Byte(static_cast<int>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    Zeros(width > text.size() ? width - text.size() : 0);
  }
  void IntString(std::string_view text) {
    Int(static_cast<int32_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
};

struct GpNote {
  int string = 0;  // 0 = the highest string
  int fret = 0;      // with flag 0x20
  int flags = 0x20;  // the file's note flags
  int type = 1;      // with flag 0x20: 1 normal, 2 tie, 3 dead
  int duration = 0;  // with flag 0x01 (before version 5)
  int tuplet = 0;
  int dynamic = 6;   // with flag 0x10
  int leftFinger = 0;   // with flag 0x80
  int rightFinger = 0;
  std::vector<uint8_t> effects;  // with flag 0x08: the effect bytes as they stand
};

struct GpBeat {
  int flags = 0;     // the file's beat flags
  int status = 0;    // with flag 0x40
  int duration = 0;  // -2 whole ... 4 sixty-fourth
  int tuplet = 3;    // with flag 0x20
  std::string chordName;  // with flag 0x02
  std::string text;       // with flag 0x04
  std::vector<uint8_t> effects;   // with flag 0x08
  std::vector<uint8_t> mixTable;  // with flag 0x10
  std::vector<GpNote> notes;
  // With notes of no string (bit 7 of the mask): they are written first.
  std::vector<GpNote> unstrung;
};

struct GpBar {
  int flags = 0;
  int numerator = 4;
  int denominator = 4;
  int repeats = 2;
  int ending = 1;
  std::string marker;
  int key = 0;
  int mode = 0;
};

struct GpTrack {
  int flags = 0;  // the track's first byte: 0x01 drums
  std::string name = "Guitar";
  int strings = 6;
  std::array<int32_t, 7> tuning = {64, 59, 55, 50, 45, 40, -1};  // highest string first
  int port = 1;
  int channel = 1;
  int secondChannel = 2;
  int frets = 24;
  int capo = 0;
  // beats[bar][voice]
  std::vector<std::array<std::vector<GpBeat>, 2>> beats;
};

struct GpSongFixture {
  std::string signature = "FICHIER GUITAR PRO v4.06";
  int major = 4;
  int minor = 6;
  std::string title = "Title";
  std::string subtitle;
  std::string artist;
  std::string album;
  std::string composer;
  std::string copyright;
  std::string transcriber;
  std::string instructions;
  std::vector<std::string> notices;
  int lyricsTrack = 0;
  int lyricsBar = 1;
  std::string lyrics;
  int tempo = 120;
  std::array<int32_t, 64> programs{};
  std::vector<GpBar> bars;
  std::vector<GpTrack> tracks;
  std::optional<int32_t> barCount;  // the counts written; by default the sizes of the lists
  std::optional<int32_t> trackCount;
  std::vector<uint8_t> trailer;  // after the last beat

  // A version's signature and numbers.
  static GpSongFixture Version(int major, int minor = 0) {
    GpSongFixture song;
    song.major = major;
    song.minor = minor;
    static constexpr std::string_view kSignatures[] = {
        "FICHIER GUITARE PRO v1.04", "FICHIER GUITAR PRO v2.21", "FICHIER GUITAR PRO v3.00", "FICHIER GUITAR PRO v4.06",
        "FICHIER GUITAR PRO v5.00"};
    song.signature = major == 5 && minor > 0 ? "FICHIER GUITAR PRO v5.10" : std::string(kSignatures[major - 1]);
    return song;
  }

  int Voices() const { return major == 5 ? 2 : 1; }

  std::vector<uint8_t> Write() const {
    GpBytes out;
    out.PascalString(signature, 30);
    for (const std::string* text : {&title, &subtitle, &artist, &album, &composer}) out.DelphiString(*text);
    if (major == 5) out.DelphiString("");
    for (const std::string* text : {&copyright, &transcriber, &instructions}) out.DelphiString(*text);
    out.Int(static_cast<int32_t>(notices.size()));
    for (const std::string& notice : notices) out.DelphiString(notice);
    if (major < 5) out.Byte(0);
    if (major >= 4) {
      out.Int(lyricsTrack);
      for (int i = 0; i < 5; ++i) {
        out.Int(i == 0 ? lyricsBar : 1);
        out.IntString(i == 0 ? lyrics : "");
      }
    }
    if (major == 5) {
      out.Zeros(minor == 0 ? 30 : 49);
      for (int i = 0; i < 11; ++i) out.DelphiString("");
    }
    out.Int(tempo);
    if (major < 4) {
      out.Zeros(4);
    } else {
      out.Int(0);
      out.Byte(0);
      if (major == 5 && minor > 0) out.Byte(0);
    }
    for (int32_t program : programs) {
      out.Int(program);
      if (major == 5) {
        out.Zeros(8);
      } else {
        out.Raw({13, 8, 0, 0, 0, 0, 0, 0});
      }
    }
    if (major == 5) out.Zeros(42);
    out.Int(barCount.value_or(static_cast<int32_t>(bars.size())));
    out.Int(trackCount.value_or(static_cast<int32_t>(tracks.size())));
    for (const GpBar& bar : bars) WriteBar(out, bar);
    for (const GpTrack& track : tracks) WriteTrack(out, track);
    if (major == 5) out.Byte(0);
    for (size_t b = 0; b < bars.size(); ++b) {
      for (size_t t = 0; t < tracks.size(); ++t) {
        const GpTrack& track = tracks[t];
        for (int v = 0; v < Voices(); ++v) {
          static const std::vector<GpBeat> kNone;
          const std::vector<GpBeat>& beats = b < track.beats.size() ? track.beats[b][static_cast<size_t>(v)] : kNone;
          out.Int(static_cast<int32_t>(beats.size()));
          for (const GpBeat& beat : beats) WriteBeat(out, track, beat);
        }
        if (major == 5 && !(b + 1 == bars.size() && t + 1 == tracks.size())) out.Byte(0);
      }
    }
    out.Raw(trailer);
    return out.bytes;
  }

 private:
  void WriteBar(GpBytes& out, const GpBar& bar) const {
    out.Byte(bar.flags);
    if (bar.flags & 0x01) out.Byte(bar.numerator);
    if (bar.flags & 0x02) out.Byte(bar.denominator);
    if (bar.flags & 0x08) out.Byte(bar.repeats);
    if ((bar.flags & 0x10) && major != 5) out.Byte(bar.ending);
    if (bar.flags & 0x20) {
      out.DelphiString(bar.marker);
      out.Int(0xFF);
    }
    if (bar.flags & 0x40) {
      out.Byte(bar.key);
      out.Byte(bar.mode);
    }
    if (major == 5) {
      if (bar.flags & 0x03) out.Raw({2, 2, 2, 2});
      out.Byte((bar.flags & 0x10) ? bar.ending : 0);
      out.Zeros(2);
    }
  }

  void WriteTrack(GpBytes& out, const GpTrack& track) const {
    out.Byte(track.flags);
    out.PascalString(track.name, 40);
    out.Int(track.strings);
    for (int32_t pitch : track.tuning) out.Int(pitch);
    for (int value : {track.port, track.channel, track.secondChannel, track.frets, track.capo, 0xFF}) out.Int(value);
    if (major == 5) {
      out.Zeros(minor == 0 ? 45 : 49);
      if (minor > 0) {
        out.DelphiString("");
        out.DelphiString("");
      }
    }
  }

  void WriteBeat(GpBytes& out, const GpTrack& track, const GpBeat& beat) const {
    out.Byte(beat.flags);
    if (beat.flags & 0x40) out.Byte(beat.status);
    out.Byte(beat.duration);
    if (beat.flags & 0x20) out.Int(beat.tuplet);
    if (beat.flags & 0x02) WriteChord(out, beat.chordName);
    if (beat.flags & 0x04) out.DelphiString(beat.text);
    if (beat.flags & 0x08) out.Raw(beat.effects);
    if (beat.flags & 0x10) out.Raw(beat.mixTable);
    int mask = beat.unstrung.empty() ? 0 : 0x80;
    for (const GpNote& note : beat.notes) mask |= 1 << (6 - note.string);
    out.Byte(mask);
    for (const GpNote& note : beat.unstrung) WriteNote(out, note);
    // The notes follow from the highest string down.
    for (int k = 0; k < track.strings; ++k) {
      for (const GpNote& note : beat.notes) {
        if (note.string == k) WriteNote(out, note);
      }
    }
    if (major == 5) out.Zeros(2);
  }

  void WriteChord(GpBytes& out, const std::string& name) const {
    if (major == 3) {
      out.Byte(0);
      out.DelphiString(name);
      out.Int(0);
      return;
    }
    for (int32_t value : {257, 0, 0, 0}) out.Int(value);
    out.Byte(0);
    out.PascalString(name, 25);
    for (int i = 0; i < 7; ++i) out.Int(0);
    out.Zeros(36);
  }

  void WriteNote(GpBytes& out, const GpNote& note) const {
    out.Byte(note.flags);
    if (note.flags & 0x20) out.Byte(note.type);
    if ((note.flags & 0x01) && major != 5) {
      out.Byte(note.duration);
      out.Byte(note.tuplet);
    }
    if (note.flags & 0x10) out.Byte(note.dynamic);
    if (note.flags & 0x20) out.Byte(note.fret);
    if (note.flags & 0x80) {
      out.Byte(note.leftFinger);
      out.Byte(note.rightFinger);
    }
    if (major == 5) {
      if (note.flags & 0x01) out.Zeros(8);
      out.Byte(0);
    }
    if (note.flags & 0x08) out.Raw(note.effects);
  }
};

// A quarter with one note on `string` at `fret`.
inline GpBeat NoteBeat(int string, int fret, int duration = 0) {
  GpBeat beat;
  beat.duration = duration;
  GpNote note;
  note.string = string;
  note.fret = fret;
  beat.notes.push_back(note);
  return beat;
}

// A song of one plain 6-string track whose bars hold the given beats of the first voice
// (an empty second voice in version 5).
inline GpSongFixture OneTrackSong(int major, const std::vector<std::vector<GpBeat>>& bars, int minor = 0) {
  GpSongFixture song = GpSongFixture::Version(major, minor);
  GpTrack track;
  for (size_t b = 0; b < bars.size(); ++b) {
    GpBar bar;
    if (b == 0) bar.flags = 0x03;
    song.bars.push_back(bar);
    std::array<std::vector<GpBeat>, 2> voices;
    voices[0] = bars[b];
    if (major == 5) {
      GpBeat empty;
      empty.flags = 0x40;
      voices[1].push_back(empty);
    }
    track.beats.push_back(voices);
  }
  song.tracks.push_back(track);
  song.programs[0] = 25;
  return song;
}

}  // namespace vornel::testing
